#include "cli/InterruptSignal.h"

#include <atomic>
#include <signal.h>

namespace {

std::atomic<bool> g_bInterruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler needs a lock-free flag");

extern "C" void OnInterruptSignal(int) {
    g_bInterruptRequested.store(true, std::memory_order_relaxed);
}

} // namespace

void InstallInterruptHandler() {
    g_bInterruptRequested.store(false, std::memory_order_relaxed);
    struct sigaction action {};
    action.sa_handler = OnInterruptSignal;
    sigemptyset(&action.sa_mask);
    // One shot: the next SIGINT takes the default action.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

void RemoveInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() {
    return g_bInterruptRequested.load(std::memory_order_relaxed);
}
