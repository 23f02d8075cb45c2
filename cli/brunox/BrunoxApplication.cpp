#include "BrunoxApplication.h"

#include "BrunoxPrompter.h"

#include <QApplication>
#include <QCoreApplication>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

bool g_bHasDisplay = false;

// Standard error carries the marker and the tool's own error lines; the driver would show any
// stray toolkit warning as output of the script.
void DropToolkitMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Platforms that never need a display server.
bool IsDisplaylessPlatform()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr)
        return false;
    return std::strncmp(platform, "offscreen", 9) == 0 || std::strncmp(platform, "minimal", 7) == 0;
}

// The toolkit aborts the process when it cannot open the display it was told to use. So a copy of
// the program tries first, with its output discarded; its exit code says whether the display works.
bool ProbeDisplay()
{
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return false;
    self[length] = '\0';

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.emplace_back(*entry);
    environment.push_back(std::string(kDisplayProbeVariable) + "=1");
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // The probe must not inherit the blocked terminating signals: a hung probe is killed below.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    char* argv[] = {self, nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, self, &actions, &attributes, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return false;

    // A display server that accepts the connection but never answers must not hang the tool.
    constexpr int ProbeDeadlineMs = 10000;
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd fd = {pidfd, POLLIN, 0};
        int ready;
        do {
            ready = poll(&fd, 1, ProbeDeadlineMs);
        } while (ready < 0 && errno == EINTR);
        close(pidfd);
        if (ready == 0)
            kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool InitBrunoxApplication(int& argc, char** argv)
{
    qInstallMessageHandler(DropToolkitMessage);

    if (IsSet(kDisplayProbeVariable)) {
        // A failed probe ends in the toolkit's abort: that is its answer, not a crash worth a core file.
        const rlimit noCore = {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        QApplication probe(argc, argv);
        _exit(0);
    }

    // Answers from a file need no screen, and no window may appear on one that is there.
    if (PrompterScriptNamed())
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const bool bDisplayNamed = IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
    g_bHasDisplay = IsDisplaylessPlatform() || (bDisplayNamed && ProbeDisplay());
    if (g_bHasDisplay) {
        auto* application = new QApplication(argc, argv);
        // The dialogs come and go one command at a time: closing one must not end the program.
        application->setQuitOnLastWindowClosed(false);
    } else {
        new QCoreApplication(argc, argv);
    }
    return true;
}

bool BrunoxHasDisplay()
{
    return g_bHasDisplay;
}
