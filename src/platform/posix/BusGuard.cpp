#include "platform/posix/BusGuard.h"
#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

namespace plat::posix {
namespace {

struct Guard {
    sigjmp_buf jump;
    const char* lo;
    const char* hi;
};

thread_local Guard* volatile t_guard = nullptr;
struct sigaction g_previous;

void onBus(int sig, siginfo_t* info, void* context)
{
    Guard* g = t_guard;
    const char* at = static_cast<const char*>(info->si_addr);
    if (g && at >= g->lo && at < g->hi)
        siglongjmp(g->jump, 1);
    // Not a guarded copy: hand over to whoever handled SIGBUS before, or die as by default.
    if ((g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_sigaction) {
        g_previous.sa_sigaction(sig, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(sig);
    } else {
        struct sigaction dfl {};
        dfl.sa_handler = SIG_DFL;
        sigemptyset(&dfl.sa_mask);
        sigaction(SIGBUS, &dfl, nullptr);   // the faulting access repeats and ends the process
    }
}

void install()
{
    struct sigaction sa {};
    sa.sa_sigaction = onBus;
    sigemptyset(&sa.sa_mask);
    // SA_NODEFER: after the jump SIGBUS must not stay blocked, since the jump does not restore the mask.
    sa.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
    sigaction(SIGBUS, &sa, &g_previous);
}

} // namespace

bool guardedCopy(void* dst, const void* src, std::size_t count)
{
    static std::once_flag once;
    std::call_once(once, install);

    Guard g;
    g.lo = static_cast<const char*>(src);
    g.hi = g.lo + count;
    if (sigsetjmp(g.jump, 0) != 0) {
        t_guard = nullptr;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        return false;
    }
    t_guard = &g;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(dst, src, count);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    t_guard = nullptr;
    return true;
}

} // namespace plat::posix
