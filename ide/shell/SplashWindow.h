#pragma once
// The start-up window: a picture and the caption "Z.O.V. Version 1.0 PR1" in bold on white, for
// three seconds or until Space or Escape. It is the one modal window that never goes through the
// prompter: nothing is asked, and batch runs do not start it.

#include "ide/shell/core/Translate.h"

#include <QDialog>
#include <QPixmap>

#include <string>

namespace zov {
class CFormatLabel;
}

namespace zov::shell {

class ApplicationCore;

class SplashWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDefaultDurationMs = 3000;
    static constexpr int kCaptionId = 1111;

    // `versionText` is string 8000; the duration is shortened by tests.
    explicit SplashWindow(const std::string& versionText, const Translate& translate = IdentityTranslate(),
                          QWidget* parent = nullptr, int durationMs = kDefaultDurationMs);

    CFormatLabel& Caption() const { return *caption_; }
    static std::string CaptionText(const std::string& versionText, const Translate& translate);

    void showEvent(QShowEvent* event) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    CFormatLabel* caption_;
    int durationMs_;
    bool timerStarted_ = false;
};

// Shows the splash modally unless NoSplash is set; the dialog's result (0), or -1 when skipped.
int RunSplashWindow(const ApplicationCore& application, QWidget* parent = nullptr);

}  // namespace zov::shell
