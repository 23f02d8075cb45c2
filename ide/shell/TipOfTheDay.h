#pragma once
// "Astuce du jour": one tip of the tips file at a time, a button for the next one and the choice
// of showing tips at start-up. Constructing the dialog uses up a tip, shown or not; the file
// position is saved when the dialog goes.

#include "ide/shell/ThemedDialog.h"
#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Settings.h"
#include "ide/shell/core/TipsFile.h"
#include "ide/shell/core/Translate.h"

#include <QPixmap>

#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zov::shell {

class ApplicationCore;
class ShellPrompter;

class TipOfTheDay : public ThemedDialogBase {
    Q_OBJECT

public:
    static constexpr int kShowAtStartupId = 1605;
    static constexpr int kNextTipId = 1606;
    static constexpr int kTipTextId = 1609;
    static constexpr int kHeadingId = 1680;

    // The tips file is `tipsFileName` in the settings' program folder.
    TipOfTheDay(const Settings& settings, const std::string& tipsFileName, Prompter& prompter,
                Translate translate = IdentityTranslate(), QWidget* parent = nullptr);
    ~TipOfTheDay() override;

    // As read at construction: the start-up timer shows the dialog only when it is set.
    bool ShowAtStartup() const { return showAtStartup_; }
    const std::string& Tip() const { return tips_->Tip(); }

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void ShowNextTip();

    std::unique_ptr<TipsFile> tips_;
    bool showAtStartup_;
    QLabel* tipText_;
    QCheckBox* showCheck_;
    QPushButton* nextTip_;
};

// The tips command (atStartup false) and the start-up timer (atStartup true: shown only when
// "StartUp" is set; a tip is used up either way). The dialog's result, -1 when not shown.
int RunTipOfTheDay(const ApplicationCore& application, ShellPrompter& prompter, bool atStartup,
                   QWidget* parent = nullptr);

}  // namespace zov::shell
