#include "shell/app/FatalSignals.h"

#include <signal.h>

#include <cstring>

#include "shell/Log.h"

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGSEGV, SIGABRT, SIGBUS};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// The actions in place before ours, restored before the signal goes on. Written before the handlers are
// installed, only read afterwards.
struct sigaction g_previous[kSignalCount];
bool g_installed = false;

// A stack of its own for the handler, so that a stack overflow's SIGSEGV still reaches it.
alignas(16) char g_handlerStack[64 * 1024];

int slotOf(int signal) {
    for (int i = 0; i < kSignalCount; ++i) {
        if (kSignals[i] == signal) {
            return i;
        }
    }
    return -1;
}

void onFatalSignal(int signal, siginfo_t* info, void*) {
    flushLogFromSignal();
    const int slot = slotOf(signal);
    if (slot < 0) {
        return;
    }
    sigaction(signal, &g_previous[slot], nullptr);
    // A fault (bad address, bus error) happens again as soon as this handler returns, now meeting the
    // previous action with the faulting instruction's own context. A signal that was sent is sent again;
    // it is blocked while this handler runs and arrives as it returns.
    const bool sent = info == nullptr || info->si_code <= 0;
    if (sent || (signal != SIGSEGV && signal != SIGBUS)) {
        raise(signal);
    }
}

void useHandlerStack() {
    stack_t current;
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0) {
        return;  // one is set up already (AddressSanitizer makes its own)
    }
    stack_t own;
    std::memset(&own, 0, sizeof own);
    own.ss_sp = g_handlerStack;
    own.ss_size = sizeof g_handlerStack;
    sigaltstack(&own, nullptr);
}

}  // namespace

void flushLogOnFatalSignals() {
    if (g_installed) {
        return;
    }
    g_installed = true;
    useHandlerStack();
    for (int i = 0; i < kSignalCount; ++i) {
        if (sigaction(kSignals[i], nullptr, &g_previous[i]) != 0) {
            continue;
        }
        if ((g_previous[i].sa_flags & SA_SIGINFO) == 0 && g_previous[i].sa_handler == SIG_IGN) {
            continue;  // someone asked for this signal to be ignored (nohup, a shell's background job)
        }
        struct sigaction ours;
        std::memset(&ours, 0, sizeof ours);
        ours.sa_sigaction = &onFatalSignal;
        ours.sa_flags = SA_SIGINFO | SA_ONSTACK;
        // One handler at a time: a second signal during the flush would write the same lines again.
        sigemptyset(&ours.sa_mask);
        for (int signal : kSignals) {
            sigaddset(&ours.sa_mask, signal);
        }
        sigaction(kSignals[i], &ours, nullptr);
    }
}
