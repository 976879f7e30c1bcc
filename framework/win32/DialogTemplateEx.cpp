#include "framework/win32/DialogTemplateEx.h"

#include <cstdlib>
#include <string>

#include "platform/win32/Utf8.h"

namespace {

// Texts of the templates are UTF-8; the template holds UTF-16.
void PutText(std::vector<std::uint16_t>& out, const char* text) {
    for (wchar_t c : Utf8ToWide(text ? text : "")) out.push_back(static_cast<std::uint16_t>(c));
    out.push_back(0);
}

void PutDword(std::vector<std::uint16_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint16_t>(v & 0xFFFF));
    out.push_back(static_cast<std::uint16_t>(v >> 16));
}

void PutShort(std::vector<std::uint16_t>& out, int v) { out.push_back(static_cast<std::uint16_t>(v & 0xFFFF)); }

void AlignToDword(std::vector<std::uint16_t>& out) {
    if (out.size() % 2) out.push_back(0);
}

// An icon control names its icon by resource number: an ordinal, not a text.
bool IsOrdinalText(const DialogControl& c) {
    if (c.kind != ControlKind::Icon || !c.text || !*c.text) return false;
    for (const char* p = c.text; *p; ++p)
        if (*p < '0' || *p > '9') return false;
    return true;
}

// The class a control of this kind is made of: a predefined class atom (0x0080 button,
// 0x0081 edit, 0x0082 static) or 0 for the tree view, which is named by its class name.
std::uint16_t DialogControlClassAtom(ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox:
    case ControlKind::PushButton: return 0x0080;
    case ControlKind::Edit: return 0x0081;
    case ControlKind::Label:
    case ControlKind::Icon: return 0x0082;
    case ControlKind::TreeView: break;
    }
    return 0;
}
constexpr const char* kTreeViewClassName = "SysTreeView32";

}  // namespace

std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& tmpl) {
    std::vector<std::uint16_t> out;
    out.push_back(1);       // dlgVer
    out.push_back(0xFFFF);  // signature: the extended form
    PutDword(out, 0);       // help id of the dialog
    PutDword(out, tmpl.exStyle);
    PutDword(out, tmpl.style & ~WS_VISIBLE);
    out.push_back(static_cast<std::uint16_t>(tmpl.controls.size()));
    PutShort(out, 0);  // x, y: where the template puts it
    PutShort(out, 0);
    PutShort(out, tmpl.cx);
    PutShort(out, tmpl.cy);
    out.push_back(0);  // no menu
    out.push_back(0);  // the dialog class
    PutText(out, tmpl.caption);
    if (tmpl.style & DS_SETFONT) {
        out.push_back(static_cast<std::uint16_t>(tmpl.pointSize));
        out.push_back(400);  // weight: normal; italic FALSE, charset DEFAULT_CHARSET (1)
        out.push_back(0x0100);
        PutText(out, tmpl.fontName);
    }
    for (const DialogControl& c : tmpl.controls) {
        AlignToDword(out);
        PutDword(out, c.helpId);
        PutDword(out, c.exStyle);
        PutDword(out, c.style);
        PutShort(out, c.x);
        PutShort(out, c.y);
        PutShort(out, c.cx);
        PutShort(out, c.cy);
        PutDword(out, static_cast<std::uint32_t>(c.id));  // -1 stays 0xFFFFFFFF, as rc writes it
        if (std::uint16_t atom = DialogControlClassAtom(c.kind)) {
            out.push_back(0xFFFF);
            out.push_back(atom);
        } else {
            PutText(out, kTreeViewClassName);
        }
        if (IsOrdinalText(c)) {
            out.push_back(0xFFFF);
            out.push_back(static_cast<std::uint16_t>(std::atoi(c.text)));
        } else {
            PutText(out, c.text);
        }
        out.push_back(0);  // no creation data
    }
    return out;
}
