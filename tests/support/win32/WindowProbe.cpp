#include "tests/support/win32/WindowProbe.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstring>
#include <map>

#include "platform/win32/Utf8.h"

namespace {
HWND H(void* h) { return static_cast<HWND>(h); }

std::string ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    const int n = GetClassNameW(hwnd, name, 256);
    return WideToUtf8(name, static_cast<size_t>(n > 0 ? n : 0));
}

std::map<UINT_PTR, std::function<void()>>& Steps() {
    static std::map<UINT_PTR, std::function<void()>> steps;
    return steps;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = Steps().find(id);
    if (it == Steps().end()) return;
    std::function<void()> step = std::move(it->second);
    Steps().erase(it);
    step();
}
}  // namespace

void* ProbeParent(void* hwnd) { return GetParent(H(hwnd)); }

std::vector<ProbeChild> ProbeChildren(void* dialog) {
    std::vector<ProbeChild> children;
    for (HWND child = GetTopWindow(H(dialog)); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, H(dialog), reinterpret_cast<POINT*>(&r), 2);
        children.push_back({child,
                            GetDlgCtrlID(child),
                            ClassOf(child),
                            ProbeText(child),
                            {r.left, r.top, r.right, r.bottom},
                            static_cast<unsigned>(GetWindowLongW(child, GWL_STYLE)),
                            static_cast<unsigned>(GetWindowContextHelpId(child))});
    }
    return children;
}

ProbeRect ProbeMapDialogRect(void* dialog, int x, int y, int cx, int cy) {
    // Place and size each converted, as the dialog manager makes a control.
    RECT r{x, y, cx, cy};
    MapDialogRect(H(dialog), &r);
    return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

std::vector<int> ProbeTabOrder(void* dialog) {
    std::vector<int> ids;
    HWND first = GetNextDlgTabItem(H(dialog), nullptr, FALSE);
    for (HWND h = first; h; h = GetNextDlgTabItem(H(dialog), h, FALSE)) {
        ids.push_back(GetDlgCtrlID(h));
        if (GetNextDlgTabItem(H(dialog), h, FALSE) == first || ids.size() > 50) break;
    }
    return ids;
}

void* ProbeFindWindow(const std::string& title, const std::string& className) {
    struct Search {
        std::wstring title, className;
        HWND found;
    } search{Utf8ToWide(title), Utf8ToWide(className), nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            wchar_t text[256] = {}, cls[256] = {};
            GetWindowTextW(hwnd, text, 256);
            GetClassNameW(hwnd, cls, 256);
            if (IsWindowVisible(hwnd) && s->title == text && (s->className.empty() || s->className == cls)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ProbeText(void* hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(H(hwnd))) + 1, L'\0');
    const int n = GetWindowTextW(H(hwnd), text.data(), static_cast<int>(text.size()));
    return WideToUtf8(text.data(), static_cast<size_t>(n > 0 ? n : 0));
}

bool ProbeIsEnabled(void* hwnd) { return IsWindowEnabled(H(hwnd)) != FALSE; }
int ProbeFocusId() { return GetFocus() ? GetDlgCtrlID(GetFocus()) : 0; }
int ProbeEditLimit(void* edit) { return static_cast<int>(SendMessageW(H(edit), EM_GETLIMITTEXT, 0, 0)); }

std::pair<int, int> ProbeEditSelection(void* edit) {
    DWORD start = 0, end = 0;
    SendMessageW(H(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

std::vector<std::pair<unsigned, std::string>> ProbeSystemMenu(void* hwnd) {
    std::vector<std::pair<unsigned, std::string>> items;
    HMENU menu = GetSystemMenu(H(hwnd), FALSE);
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
            items.emplace_back(0u, std::string());
        else
            items.emplace_back(info.wID, WideToUtf8(text, wcslen(text)));
    }
    return items;
}

bool ProbeHasButtonBitmap(void* button) { return SendMessageW(H(button), BM_GETIMAGE, IMAGE_BITMAP, 0) != 0; }
bool ProbeHasSmallIcon(void* hwnd) { return SendMessageW(H(hwnd), WM_GETICON, ICON_SMALL, 0) != 0; }

void ProbeTypeChars(void* hwnd, const std::string& chars) {
    for (char c : chars) SendMessageW(H(hwnd), WM_CHAR, static_cast<WPARAM>(c), 1);
}

void ProbePostKey(void* hwnd, unsigned virtualKey) {
    PostMessageW(H(hwnd), WM_KEYDOWN, virtualKey, 1);
    PostMessageW(H(hwnd), WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

void ProbePressKey(unsigned virtualKey) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = static_cast<WORD>(virtualKey);
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void ProbePressAltKey(unsigned virtualKey) {
    INPUT input[4] = {};
    const WORD keys[4] = {VK_MENU, static_cast<WORD>(virtualKey), static_cast<WORD>(virtualKey), VK_MENU};
    for (int i = 0; i < 4; ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = keys[i];
        input[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, input, sizeof(INPUT));
}

void ProbePostCommand(void* hwnd, int id) { PostMessageW(H(hwnd), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
void ProbePostSysCommand(void* hwnd, unsigned command) { PostMessageW(H(hwnd), WM_SYSCOMMAND, command, 0); }
void ProbeClick(void* button) { SendMessageW(H(button), BM_CLICK, 0, 0); }

void ProbeMouseClick(void* control) {
    SendMessageW(H(control), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(H(control), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void ProbeFocus(void* control) {
    SendMessageW(GetParent(H(control)), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void ProbeDoubleClickItem(void* tree, void* item) {
    RECT r = {};
    HTREEITEM handle = static_cast<HTREEITEM>(item);
    std::memcpy(&r, &handle, sizeof handle);  // TVM_GETITEMRECT takes the item in the rectangle
    SendMessageW(H(tree), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // The control follows a button press in a loop of its own until the button comes up
    // (a drag may start): the release is queued before each press.
    PostMessageW(H(tree), WM_LBUTTONUP, 0, at);
    SendMessageW(H(tree), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(H(tree), WM_LBUTTONUP, 0, at);
    SendMessageW(H(tree), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
}

bool ProbeSendHelp(void* dialog, int controlId) {
    HWND control = GetDlgItem(H(dialog), controlId);
    if (!control) return false;
    RECT r;
    GetWindowRect(control, &r);
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = controlId;
    info.hItemHandle = control;
    info.dwContextId = GetWindowContextHelpId(control);
    info.MousePos = {r.left, r.top};
    return SendMessageW(H(dialog), WM_HELP, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void ProbeLater(int ms, std::function<void()> step) {
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(ms), RunStep);
    Steps()[id] = std::move(step);
}
