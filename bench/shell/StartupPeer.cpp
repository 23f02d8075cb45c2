// The yardstick for the IDE's start-up and ending: a bare Qt main window of about the IDE's
// make (a tabbed MDI area, 8 menus of 20 entries, two toolbars, two docks, a status bar) and
// nothing else. Like zov, it announces its first painted frame on stderr when
// ZOV_IDE_REPORT_SHOWN is set, and turns SIGTERM into an orderly close of the window (through
// a self-pipe, as zov does), so that both sides are timed the same way by startup.sh.
#include "common/gui/ShownReporter.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    (void)!::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    ::sigaction(SIGTERM, &action, nullptr);

    QMainWindow window;
    auto* area = new QMdiArea;
    area->setViewMode(QMdiArea::TabbedView);
    area->setTabsClosable(true);
    window.setCentralWidget(area);
    for (int m = 0; m < 8; ++m) {
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Menu %1").arg(m));
        for (int e = 0; e < 20; ++e)
            menu->addAction(QStringLiteral("Entry %1.%2").arg(m).arg(e));
    }
    for (int t = 0; t < 2; ++t) {
        QToolBar* bar = window.addToolBar(QStringLiteral("Bar %1").arg(t));
        for (int b = 0; b < 10; ++b)
            bar->addAction(QStringLiteral("B%1").arg(b));
    }
    auto* left = new QDockWidget(QStringLiteral("Left"));
    left->setWidget(new QTreeWidget);
    window.addDockWidget(Qt::LeftDockWidgetArea, left);
    auto* bottom = new QDockWidget(QStringLiteral("Bottom"));
    bottom->setWidget(new QTextEdit);
    window.addDockWidget(Qt::BottomDockWidgetArea, bottom);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Ready")));
    window.resize(1024, 768);

    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        window.close();
        QCoreApplication::quit();
    });

    if (std::getenv("ZOV_IDE_REPORT_SHOWN") != nullptr)
        window.installEventFilter(new zov::gui::ShownReporter("peer", &window));
    window.show();
    return application.exec();
}
