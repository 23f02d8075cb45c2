#pragma once
// The bases of every dialog and preference page of the IDE: before the window is first shown (or
// run by the scripted prompter) their template texts pass through the installed language, then
// the derived class's own initialisation puts its data in, so data is never translated.

#include <QDialog>
#include <QWidget>

namespace zov::shell {

class ThemedDialogBase : public QDialog {
    Q_OBJECT

public:
    explicit ThemedDialogBase(QWidget* parent = nullptr);

    // Runs the initialisation unless it ran already: translation of the template texts when a
    // language is installed, then OnInitDialog. Showing the dialog calls it.
    void InitialiseOnce();
    bool IsInitialised() const { return initialised_; }

    void setVisible(bool visible) override;

protected:
    // The derived dialog's own initialisation (data exchange, lists filled), after translation.
    virtual void OnInitDialog() {}

private:
    bool initialised_ = false;
};

class ThemedPropertyPageBase : public QWidget {
    Q_OBJECT

public:
    // `caption` names the page in its sheet (the window title); empty = none.
    explicit ThemedPropertyPageBase(const QString& caption = QString(), QWidget* parent = nullptr);

    void InitialiseOnce();
    bool IsInitialised() const { return initialised_; }

    void setVisible(bool visible) override;

protected:
    virtual void OnInitDialog() {}

private:
    bool initialised_ = false;
};

}  // namespace zov::shell
