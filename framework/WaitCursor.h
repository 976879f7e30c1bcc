#pragma once

// The framework's wait cursor: calls nest, the cursor shows while the depth is above 0.
void BeginWaitCursor();
void EndWaitCursor();
int AfxGetWaitCursorDepth();

// The toolkit backend shows and hides the cursor when the depth leaves or reaches 0.
using WaitCursorHook = void (*)(bool on);
void AfxSetWaitCursorHook(WaitCursorHook hook);
