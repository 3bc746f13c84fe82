#include "shell/app/Interruption.h"

#include <signal.h>

#include <cstring>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

volatile sig_atomic_t g_requested = 0;
struct sigaction g_previous[kSignalCount];

void onSignal(int) {
    g_requested = 1;
}

}  // namespace

Interruption::Interruption() {
    g_requested = 0;
    struct sigaction ours;
    std::memset(&ours, 0, sizeof ours);
    ours.sa_handler = &onSignal;
    // No SA_RESTART: a write that waits on a pipe returns, and the request is seen.
    sigemptyset(&ours.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], nullptr, &g_previous[i]);
        // A signal someone asked to be ignored (nohup, a shell's background job) stays ignored.
        if ((g_previous[i].sa_flags & SA_SIGINFO) != 0 || g_previous[i].sa_handler != SIG_IGN) {
            sigaction(kSignals[i], &ours, nullptr);
        }
    }
}

Interruption::~Interruption() {
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], &g_previous[i], nullptr);
    }
    g_requested = 0;
}

void Interruption::request() {
    g_requested = 1;
}

bool Interruption::requested() {
    return g_requested != 0;
}
