#pragma once
// The windowed application: start-up in its fixed order (settings, language, prompter, splash,
// main window, what the command line opens), the ending signals turned into the window's close,
// and the exit that saves the session's settings and removes the temporary folder.

#include "ide/project/model/BatchFile.h"
#include "ide/shell/MainFrame.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace zov::shell {

// Parts that other folders bring; each may be left empty.
struct ApplicationParts {
    // The splash window, run to its end before the main window is made.
    std::function<void()> splash;
    // Fills the frame's seams and hooks (the real explorer, output bar, views...).
    std::function<void(FrameParts& parts, ApplicationCore& application)> frameParts;
    // Called once the frame exists, to add command handlers.
    std::function<void(MainFrame& frame, ApplicationCore& application)> frameReady;
};

// Closes the window as its close button would, once no dialog, message box or menu runs its own
// event loop: a close from inside such a loop would delete the windows the dialog belongs to while
// it still runs. Those loops are ended first, innermost first (a dialog as cancelled).
void CloseAfterModalLoops(const QPointer<QWidget>& window);

// True when the arguments name a batch file (".qzb" anywhere in them, as start-up tests it).
bool ArgumentsNameBatch(const std::vector<std::string>& args);

// The whole program: 0 after a normal exit or a finished batch, 1 when start-up failed.
int RunApplication(int argc, char** argv, ApplicationParts parts);

}  // namespace zov::shell
