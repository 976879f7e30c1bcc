// A dialog template held as data, turned into the binary DLGTEMPLATEEX that Windows'
// dialog manager creates windows from: the resource compiler's output, built in memory,
// so the template data stays the one description of the dialog.
#pragma once
#include <cstdint>
#include <vector>

#include "framework/DialogTemplate.h"

// The class a control of this kind is made of: a predefined class atom (0x0080 button,
// 0x0081 edit, 0x0082 static) or 0 for the tree view, which is named by its class name.
std::uint16_t DialogControlClassAtom(ControlKind kind);
constexpr const char* kTreeViewClassName = "SysTreeView32";

// The DLGTEMPLATEEX bytes, in 16-bit words (the format is word-aligned). WS_VISIBLE is
// left out of the dialog's style: the window is shown when it runs, not when it is made.
std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& tmpl);
