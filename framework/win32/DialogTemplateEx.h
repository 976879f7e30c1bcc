// A dialog template held as data, turned into the binary DLGTEMPLATEEX that Windows'
// dialog manager creates windows from: the resource compiler's output, built in memory,
// so the template data stays the one description of the dialog.
#pragma once
#include <cstdint>
#include <vector>

#include "framework/DialogTemplate.h"

// The DLGTEMPLATEEX bytes, in 16-bit words (the format is word-aligned). WS_VISIBLE is
// left out of the dialog's style: the window is shown when it runs, not when it is made.
std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& tmpl);
