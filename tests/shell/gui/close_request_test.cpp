// A close requested while a dialog runs its own loop (an ending signal under an open find dialog)
// waits for that loop to end; closing at once deleted the dialog's parent under it.
#include "ide/shell/ApplicationObject.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace zov::shell {
namespace {

// Closing deletes the inner widget, as the main window deletes its documents' views.
class ClosingWindow final : public QWidget {
public:
    ClosingWindow() : inner(new QWidget(this)) {}
    QPointer<QWidget> inner;
    int closes = 0;
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        delete inner.data();
        event->accept();
        if (onClose)
            onClose();
    }
};

TEST(CloseRequest, WaitsForTheDialogsLoopAndCancelsTheDialog)
{
    zov::testing::EnsureApplication();
    ClosingWindow window;
    window.show();
    QEventLoop applicationLoop;  // stands for the application's own loop
    int dialogResult = -1;
    int closesWhileDialogRan = -1;
    QTimer::singleShot(0, [&] {
        QDialog dialog(window.inner);  // on the stack, as the editor's dialogs are
        QTimer::singleShot(0, [&window] { CloseAfterModalLoops(&window); });
        dialogResult = dialog.exec();
        closesWhileDialogRan = window.closes;
    });
    window.onClose = [&applicationLoop] { applicationLoop.quit(); };
    QTimer::singleShot(5000, &applicationLoop, &QEventLoop::quit);
    applicationLoop.exec();
    EXPECT_EQ(dialogResult, QDialog::Rejected);
    EXPECT_EQ(closesWhileDialogRan, 0);
    EXPECT_EQ(window.closes, 1);
    EXPECT_TRUE(window.inner.isNull());
}

TEST(CloseRequest, ClosesAtOnceWithNoDialog)
{
    zov::testing::EnsureApplication();
    ClosingWindow window;
    window.show();
    CloseAfterModalLoops(&window);
    EXPECT_EQ(window.closes, 1);
}

}  // namespace
}  // namespace zov::shell
