#include "platform/GuardedCompare.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

namespace {

// The jump target of a guarded read in progress on this thread, or null.
thread_local sigjmp_buf* t_pGuard = nullptr;

struct sigaction g_previousBusAction {};

void OnBusError(int nSignal, siginfo_t* pInfo, void* pContext) {
    if (sigjmp_buf* pGuard = t_pGuard) {
        t_pGuard = nullptr;
        siglongjmp(*pGuard, 1);
    }
    // Not a guarded read: leave the fault to whoever handled it before, or let it end the
    // program as it would have without us.
    if (g_previousBusAction.sa_flags & SA_SIGINFO) {
        g_previousBusAction.sa_sigaction(nSignal, pInfo, pContext);
    } else if (g_previousBusAction.sa_handler != SIG_DFL &&
               g_previousBusAction.sa_handler != SIG_IGN) {
        g_previousBusAction.sa_handler(nSignal);
    } else {
        signal(nSignal, SIG_DFL);
        raise(nSignal);
    }
}

void InstallBusHandler() {
    static std::once_flag s_once;
    std::call_once(s_once, [] {
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previousBusAction);
    });
}

// Kept out of line so that nothing the compiler keeps in registers across sigsetjmp is used
// after a jump back.
[[gnu::noinline]] int CompareBytes(const void* p1, const void* p2, std::size_t nBytes) {
    return std::memcmp(p1, p2, nBytes);
}

} // namespace

bool GuardedCompare(const void* p1, const void* p2, std::size_t nBytes, int& nResult) {
    InstallBusHandler();
    sigjmp_buf guard;
    // The signal mask is saved and restored by the jump: SIGBUS is blocked while its handler
    // runs, and leaving the handler by a jump that kept it blocked would make the next fault
    // fatal.
    if (sigsetjmp(guard, 1) != 0)
        return false;
    // The fences keep the compiler from moving the guard's setting and clearing across the
    // compare: the handler, which reads it, runs on this thread in the middle of the compare.
    t_pGuard = &guard;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    const int nCompared = CompareBytes(p1, p2, nBytes);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    t_pGuard = nullptr;
    nResult = nCompared < 0 ? -1 : (nCompared > 0 ? 1 : 0);
    return true;
}
