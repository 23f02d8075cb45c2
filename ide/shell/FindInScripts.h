#pragma once
// "&Rechercher dans les scripts..." in the main window: the search dialog, then the search of the
// project's scripts in slices on a zero-delay timer, its lines in the find pane; the find pane's
// stop button (38501) ends it and keeps what was found.

#include "ide/shell/ThemedDialog.h"
#include "ide/shell/search/ScriptSearch.h"

#include <QObject>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QTimer;

namespace zov::shell {

class MainFrame;

// Dialog 8804.
class ScriptSearchDialog final : public ThemedDialogBase {
    Q_OBJECT
public:
    explicit ScriptSearchDialog(QWidget* parent = nullptr);
    SearchQuery Query() const;

private:
    QLineEdit* text_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
};

class FindInScripts final : public QObject {
    Q_OBJECT
public:
    // Registers the find command and the stop button with the frame.
    explicit FindInScripts(MainFrame& frame);

    // After the dialog: starts over with the project's scripts.
    void Start(const SearchQuery& query);
    void Stop();
    bool Running() const { return search_.Running(); }

private:
    void Slice();
    QString Text(const std::string& text) const { return QString::fromStdString(text); }

    MainFrame& frame_;
    ScriptSearch search_;
    QPointer<QTimer> timer_;
};

}  // namespace zov::shell
