// The signals are caught rather than blocked: a process-directed signal may go to any
// thread, and a thread that does not block it would end the process mid-step.
#include "platform/TerminationHold.h"

#include <signal.h>

#include <mutex>

namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kCount = sizeof kSignals / sizeof kSignals[0];

std::mutex g_mutex;
int g_depth = 0;  // holds in force, over all threads
struct sigaction g_saved[kCount];
volatile sig_atomic_t g_caught = 0;

void Catch(int sig) { g_caught = sig; }
}  // namespace

TerminationHold::TerminationHold() {
    std::lock_guard<std::mutex> lock(g_mutex);
    m_active = true;
    if (g_depth++ != 0) return;
    g_caught = 0;
    struct sigaction sa = {};
    sa.sa_handler = &Catch;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < kCount; ++i) {
        ::sigaction(kSignals[i], nullptr, &g_saved[i]);
        if (g_saved[i].sa_handler == SIG_IGN) continue;  // ignored (nohup): stays ignored
        ::sigaction(kSignals[i], &sa, nullptr);
    }
}

TerminationHold::~TerminationHold() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!m_active || --g_depth != 0) return;
    for (int i = 0; i < kCount; ++i) ::sigaction(kSignals[i], &g_saved[i], nullptr);
    // A signal that came meanwhile now takes its ordinary course.
    if (const int sig = g_caught) {
        g_caught = 0;
        ::raise(sig);
    }
}
