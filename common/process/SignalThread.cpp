#include "common/process/SignalThread.h"

#include <pthread.h>

#include <thread>

namespace zov {

sigset_t EndingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

void StartSignalThread(std::function<void(int signal)> onSignal)
{
    const sigset_t set = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    signal(SIGPIPE, SIG_IGN);
    std::thread([set, onSignal = std::move(onSignal)] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) == 0) onSignal(signal);
        }
    }).detach();
}

}  // namespace zov
