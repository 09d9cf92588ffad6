#include "platform/posix/EndSignals.h"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <pthread.h>

namespace plat::posix {

namespace {

sigset_t endSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, s);
    return set;
}

} // namespace

void blockEndSignals()
{
    const sigset_t set = endSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int waitForEndSignal()
{
    const sigset_t set = endSignals();
    for (;;) {
        int sig = 0;
        if (sigwait(&set, &sig) == 0)
            return sig;
    }
}

void endBySignal(int sig)
{
    std::fflush(stdout);
    std::signal(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    std::raise(sig);
    std::_Exit(128 + sig);
}

} // namespace plat::posix
