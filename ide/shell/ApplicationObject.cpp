#include "ide/shell/ApplicationObject.h"

#include "common/AsciiCase.h"
#include "common/process/SignalThread.h"
#include "common/MessageText.h"
#include "common/gui/ShownReporter.h"
#include "ide/shell/FramePreferencesHost.h"
#include "ide/shell/Preferences.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/SplashWindow.h"
#include "ide/shell/TipOfTheDay.h"
#include "ide/shell/UiLanguage.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace zov::shell {
namespace {

// The write end of the self-pipe that the signal thread wakes the GUI thread through.
std::atomic<int> signalPipeWrite{-1};

bool HasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Ends the innermost modal loop, if any: a menu, else a modal dialog (cancelled) or message box.
void EndActiveModal()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    else if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

}  // namespace

void CloseAfterModalLoops(const QPointer<QWidget>& window)
{
    if (!window)
        return;
    EndActiveModal();
    // Level 1 is the application's own loop: nothing else runs under the window any more.
    if (QThread::currentThread()->loopLevel() <= 1) {
        window->close();
        return;
    }
    constexpr int kRetryMs = 10;
    QTimer::singleShot(kRetryMs, window, [window] { CloseAfterModalLoops(window); });
}

bool ArgumentsNameBatch(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (ToLowerAscii(arg).find(".qzb") != std::string::npos)
            return true;
    }
    return false;
}

int RunApplication(int argc, char** argv, ApplicationParts parts)
{
    std::vector<std::string> args;
    bool styleGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-style" || arg == "--style" || arg.rfind("-style=", 0) == 0 || arg.rfind("--style=", 0) == 0) {
            styleGiven = true;
            if (arg.find('=') == std::string::npos)
                ++i;
            continue;
        }
        args.push_back(arg);
    }
    const bool batch = ArgumentsNameBatch(args);
    if (batch && !HasDisplay() && std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // Before any thread starts, so that every thread keeps the ending signals blocked.
    int pipeEnds[2] = {-1, -1};
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) == 0) {
        signalPipeWrite = pipeEnds[1];
        StartSignalThread([](int signal) {
            const char byte = static_cast<char>(signal);
            const int fd = signalPipeWrite.load();
            if (fd >= 0)
                (void)!::write(fd, &byte, 1);
        });
    }

    QApplication application(argc, argv);
    application.setProperty("zovStyleGiven", styleGiven);
    application.setQuitOnLastWindowClosed(false);

    ApplicationCore core(ApplicationCore::DefaultPlaces());
    InstallPrompter(MakePrompterFromEnvironment(batch));
    if (core.Language() != nullptr)
        InstallUiLanguage(core.Translator());
    if (const std::string message = core.TempFolderMessage(); !message.empty())
        ActivePrompter().Tell(message, PromptIcon::Warning);

    QPointer<MainFrame> frame;
    bool endRequested = false;
    std::unique_ptr<QSocketNotifier> notifier;
    if (pipeEnds[0] >= 0) {
        notifier = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
            char bytes[16];
            while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
            }
            endRequested = true;
            if (frame)
                CloseAfterModalLoops(frame.data());
            else
                QCoreApplication::exit(0);
        });
    }
    const auto finish = [&](int status) {
        delete frame.data();
        core.Exit();
        notifier.reset();
        signalPipeWrite = -1;
        return status;
    };

    if (!parts.splash)
        parts.splash = [&core] { RunSplashWindow(core); };
    if (!batch && core.Values().noSplash == 0) {
        parts.splash();
        QCoreApplication::processEvents();
        if (endRequested)
            return finish(0);
    }

    FrameParts frameParts;
    PreferencesCommand preferences;
    std::unique_ptr<FramePreferencesHost> preferencesHost;
    frameParts.preferences = [&](QWidget& window) {
        auto* mainFrame = qobject_cast<MainFrame*>(&window);
        if (mainFrame == nullptr)
            return;
        if (!preferencesHost)
            preferencesHost = std::make_unique<FramePreferencesHost>(*mainFrame);
        preferences.Run(core, *preferencesHost, ActivePrompter(), &window);
    };
    // Made at start-up whether shown or not: it moves on to the next tip.
    frameParts.tipOfTheDay = [&core](QWidget& window, bool atStartup) {
        TipOfTheDay tips(core.GetSettings(), core.TipsFile(), ActivePrompter(), core.Translator(), &window);
        if (!atStartup || tips.ShowAtStartup())
            ActivePrompter().Exec(tips);
    };
    if (parts.frameParts)
        parts.frameParts(frameParts, core);
    const StartupRequest request = core.StartupOpen(args, std::filesystem::current_path());
    project::Batch batchFile;
    int exitStatus = 0;
    if (request.kind == StartupKind::Batch) {
        if (!batchFile.Read(request.path)) {
            ActivePrompter().Tell(
                FillMessage(core.TranslateText("Impossible de charger le fichier:\n%s"), request.path),
                PromptIcon::Warning);
            return finish(1);
        }
        if (!frameParts.startBatch) {
            // The batch runner is not part of this program yet: say so and fail the run.
            frameParts.startBatch = [&core, &frame, &exitStatus, path = request.path] {
                ActivePrompter().Tell(FillMessage(core.TranslateText("Impossible de lancer le batch :\n%s"), path),
                                      PromptIcon::Error);
                exitStatus = 1;
                if (frame)
                    frame->close();
            };
        }
    } else {
        frameParts.startBatch = nullptr;
    }

    frame = new MainFrame(core, std::move(frameParts));
    frame->SetBatchMode(request.kind == StartupKind::Batch);
    const bool hideBatch = batchFile.Hide != 0;
    frame->BatchFile() = std::move(batchFile);
    if (ShellPrompter* prompter = &ActivePrompter(); auto* window = dynamic_cast<WindowPrompter*>(prompter))
        window->SetParent(frame);
    if (parts.frameReady)
        parts.frameReady(*frame, core);
    QObject::connect(frame, &MainFrame::Closed, [&] { QCoreApplication::exit(exitStatus); });

    if (std::getenv("ZOV_IDE_REPORT_SHOWN") != nullptr)
        frame->installEventFilter(new gui::ShownReporter("zov", frame));
    if (request.kind == StartupKind::Batch) {
        if (hideBatch)
            frame->showMinimized();
        else
            frame->show();
    } else if (core.GetSettings().GetInt(SettingId::Maximize) == 1) {
        frame->showMaximized();
    } else {
        frame->show();
    }

    switch (request.kind) {
    case StartupKind::Project:
        frame->SetProjectToOpen(request.path);
        frame->PostOpenPendingProject();
        break;
    case StartupKind::Document:
        // A file given to open that does not open fails the start-up.
        if (frame->OpenDocument(request.path) == nullptr)
            return finish(1);
        break;
    default:
        break;
    }
    if (endRequested)
        return finish(0);

    const int status = application.exec();
    return finish(status);
}

}  // namespace zov::shell
