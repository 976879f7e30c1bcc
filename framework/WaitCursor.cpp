#include "framework/WaitCursor.h"

namespace {
int g_depth = 0;
WaitCursorHook g_hook = nullptr;
}  // namespace

void BeginWaitCursor() {
    if (g_depth++ == 0 && g_hook) g_hook(true);
}

void EndWaitCursor() {
    if (g_depth == 0) return;
    if (--g_depth == 0 && g_hook) g_hook(false);
}

int AfxGetWaitCursorDepth() { return g_depth; }
void AfxSetWaitCursorHook(WaitCursorHook hook) { g_hook = hook; }
