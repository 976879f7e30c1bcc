// On Windows the ways to end a process politely are the console's events (Ctrl+C,
// Ctrl+Break, the console closing, log-off, shut-down): they are held while a step runs
// and end the process right after it. TerminateProcess cannot be held by anyone.
#include "platform/TerminationHold.h"

#include <windows.h>

#include <mutex>

namespace {
std::mutex g_mutex;
int g_depth = 0;              // holds in force, over all threads
volatile LONG g_caught = -1;  // the event that came meanwhile, -1 when none
volatile LONG g_holding = 0;

BOOL WINAPI Hold(DWORD event) {
    if (!g_holding) return FALSE;  // the next handler (the default one ends the process)
    InterlockedExchange(&g_caught, static_cast<LONG>(event));
    return TRUE;
}
}  // namespace

TerminationHold::TerminationHold() {
    std::lock_guard<std::mutex> lock(g_mutex);
    m_active = true;
    if (g_depth++ != 0) return;
    static const bool installed = SetConsoleCtrlHandler(&Hold, TRUE) != 0;
    (void)installed;
    InterlockedExchange(&g_caught, -1);
    InterlockedExchange(&g_holding, 1);
}

TerminationHold::~TerminationHold() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!m_active || --g_depth != 0) return;
    InterlockedExchange(&g_holding, 0);
    // An event that came meanwhile now takes its ordinary course: the process ends, with
    // the exit code the console's default handler gives.
    if (g_caught >= 0) ExitProcess(STATUS_CONTROL_C_EXIT);
}
