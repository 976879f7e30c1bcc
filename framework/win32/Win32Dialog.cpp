#include "framework/win32/Win32Dialog.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "framework/win32/Win32Api.h"
#include "platform/win32/Utf8.h"

namespace {

std::vector<Win32Dialog*> g_running;  // the modal dialogs, innermost last

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    auto* self = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    bool handled = false;
    const INT_PTR result = self->OnWindowMessage(hwnd, message, wParam, lParam, &handled);
    return handled ? result : FALSE;
}

std::string WindowText(HWND hwnd) {
    if (!hwnd) return std::string();
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int n = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    return WideToUtf8(text.data(), static_cast<size_t>(n > 0 ? n : 0));
}

HWND Hwnd(void* h) { return static_cast<HWND>(h); }
HTREEITEM Item(void* h) { return static_cast<HTREEITEM>(h); }

}  // namespace

void* Win32RunningDialog() { return g_running.empty() ? nullptr : g_running.back()->Handle(); }

Win32Dialog::Win32Dialog(Win32DialogHost& host, const std::vector<std::uint16_t>& tmpl) : m_host(host) {
    static const bool commonControls = [] {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)commonControls;
    CreateDialogIndirectParamW(Instance(), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()), Hwnd(Win32RunningDialog()),
                               DialogProc, reinterpret_cast<LPARAM>(this));
}

Win32Dialog::~Win32Dialog() {
    if (m_hwnd) {
        SetWindowLongPtrW(Hwnd(m_hwnd), DWLP_USER, 0);  // nothing reaches the dialog from here on
        DestroyWindow(Hwnd(m_hwnd));
    }
    if (m_bitmap) DeleteObject(static_cast<HBITMAP>(m_bitmap));
    if (m_smallIcon) DestroyIcon(static_cast<HICON>(m_smallIcon));
}

void* Win32Dialog::ItemHandle(int id) const { return m_hwnd ? GetDlgItem(Hwnd(m_hwnd), id) : nullptr; }

std::string Win32Dialog::GetItemText(int id) const { return WindowText(Hwnd(ItemHandle(id))); }

void Win32Dialog::SetItemText(int id, const std::string& text) {
    if (HWND item = Hwnd(ItemHandle(id))) SetWindowTextW(item, Utf8ToWide(text).c_str());
}

int Win32Dialog::GetCheck(int id) const {
    return static_cast<int>(SendMessageW(Hwnd(ItemHandle(id)), BM_GETCHECK, 0, 0));
}

void Win32Dialog::SetCheck(int id, int state) { SendMessageW(Hwnd(ItemHandle(id)), BM_SETCHECK, state, 0); }

void Win32Dialog::LimitText(int id, int nChars) { SendMessageW(Hwnd(ItemHandle(id)), EM_LIMITTEXT, nChars, 0); }

void Win32Dialog::FocusAndSelectAll(int id) {
    HWND item = Hwnd(ItemHandle(id));
    if (!item) return;
    m_focusId = id;
    // A hidden window takes the focus when it is shown (RunModal).
    if (IsWindowVisible(Hwnd(m_hwnd))) SendMessageW(Hwnd(m_hwnd), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
    SendMessageW(item, EM_SETSEL, 0, -1);
}

int Win32Dialog::GetFocusId() const {
    HWND focus = GetFocus();
    if (focus && m_hwnd && IsChild(Hwnd(m_hwnd), focus)) return GetDlgCtrlID(focus);
    if (m_focusId || !m_hwnd || IsWindowVisible(Hwnd(m_hwnd))) return m_focusId;
    HWND first = GetNextDlgTabItem(Hwnd(m_hwnd), nullptr, FALSE);  // where the focus will go
    return first ? GetDlgCtrlID(first) : 0;
}

void Win32Dialog::SetButtonBitmap(int id, int bitmapId) {
    HANDLE bitmap = LoadImageW(Instance(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (!bitmap) return;
    SendMessageW(Hwnd(ItemHandle(id)), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (m_bitmap) DeleteObject(static_cast<HBITMAP>(m_bitmap));
    m_bitmap = bitmap;
}

void Win32Dialog::SetSmallIcon(int iconId) {
    HANDLE icon = LoadImageW(Instance(), MAKEINTRESOURCEW(iconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                             GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    if (!icon) return;
    SendMessageW(Hwnd(m_hwnd), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (m_smallIcon) DestroyIcon(static_cast<HICON>(m_smallIcon));
    m_smallIcon = icon;
}

bool Win32Dialog::HasSystemMenu() const {
    return m_hwnd && (GetWindowLongPtrW(Hwnd(m_hwnd), GWL_STYLE) & WS_SYSMENU) != 0;
}

void Win32Dialog::AppendSystemMenuItem(unsigned cmd, const std::string& text) {
    HMENU menu = m_hwnd ? GetSystemMenu(Hwnd(m_hwnd), FALSE) : nullptr;
    if (!menu) return;
    if (cmd == 0)
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else
        AppendMenuW(menu, MF_STRING, cmd, Utf8ToWide(text).c_str());
}

bool Win32Dialog::IsShown() const { return m_hwnd && IsWindowVisible(Hwnd(m_hwnd)); }

int Win32Dialog::RunModal() {
    if (!m_hwnd) return -1;
    if (m_ended) return m_result;  // ended while it initialised: never shown
    HWND hwnd = Hwnd(m_hwnd);
    HWND owner = GetWindow(hwnd, GW_OWNER);
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    g_running.push_back(this);
    m_running = true;

    CenterOverOwner();
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    // The control the dialog focused, else the first one that takes the focus.
    HWND focus = m_focusId ? GetDlgItem(hwnd, m_focusId) : GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (focus) SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);

    MSG msg;
    while (!m_ended) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the loops outside this one
            break;
        }
        if (got < 0) break;
        if ((msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd)) &&
            m_host.PreTranslate(msg.hwnd, msg.message, msg.wParam, msg.lParam))
            continue;
        if (!IsDialogMessageW(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    m_running = false;
    g_running.pop_back();
    // The owner is enabled before this window hides, so that it, not another program,
    // becomes the active window.
    if (disableOwner) EnableWindow(owner, TRUE);
    if (owner && GetActiveWindow() == hwnd) SetActiveWindow(owner);
    ShowWindow(hwnd, SW_HIDE);
    return m_result;
}

void Win32Dialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    if (m_hwnd) PostMessageW(Hwnd(m_hwnd), WM_NULL, 0, 0);  // wakes the loop
}

std::intptr_t Win32Dialog::OnWindowMessage(void* window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                           bool* handled) {
    HWND hwnd = Hwnd(window);
    switch (message) {
    case WM_INITDIALOG:
        m_hwnd = hwnd;
        *handled = true;
        return FALSE;  // the focus is set when the window is shown
    case WM_COMMAND:
        m_host.OnMessage(message, wParam, lParam);
        *handled = true;
        return TRUE;
    case WM_SYSCOMMAND:
        m_host.OnMessage(message, wParam, lParam);
        // The window manager's own commands (close, move, context help ...) keep their
        // default handling; the program's commands lie below them.
        *handled = (wParam & 0xFFF0) < 0xF000;
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        Win32DialogHost::Notify notify{hdr->hwndFrom, static_cast<unsigned>(hdr->idFrom), hdr->code};
        const std::intptr_t result = m_host.OnMessage(message, wParam, reinterpret_cast<std::intptr_t>(&notify));
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        *handled = true;
        return TRUE;
    }
    case WM_HELP: {
        const HELPINFO* info = reinterpret_cast<const HELPINFO*>(lParam);
        Win32DialogHost::Help help{info->iContextType, info->iCtrlId,
                                   info->hItemHandle,  static_cast<std::uint32_t>(info->dwContextId),
                                   info->MousePos.x,   info->MousePos.y};
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT,
                          m_host.OnMessage(message, wParam, reinterpret_cast<std::intptr_t>(&help)));
        *handled = true;
        return TRUE;
    }
    case WM_QUERYDRAGICON: {
        // The dialog answers with its icon's resource number.
        const std::intptr_t id = m_host.OnMessage(message, wParam, lParam);
        HICON icon = id ? LoadIconW(Instance(), MAKEINTRESOURCEW(id)) : nullptr;
        *handled = icon != nullptr;
        return reinterpret_cast<INT_PTR>(icon);
    }
    case WM_SETCURSOR:
        // While work blocks, the wait cursor stays when the pointer moves over the window.
        if (!Win32WaitCursorOn()) return 0;
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
        *handled = true;
        return TRUE;
    case WM_PAINT:
        if (!IsIconic(hwnd)) return 0;
        PaintMinimised();
        *handled = true;
        return TRUE;
    default: return 0;
    }
}

// The templates place their dialogs nowhere in particular (0, 0): a dialog opens centred
// over the window it belongs to, or on the screen's work area when it has none.
void Win32Dialog::CenterOverOwner() {
    HWND hwnd = Hwnd(m_hwnd);
    HWND owner = GetWindow(hwnd, GW_OWNER);
    RECT area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // Never off the work area's top left, where the caption must stay reachable.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A minimised window shows the dialog's icon centred in its client area.
void Win32Dialog::PaintMinimised() {
    HWND hwnd = Hwnd(m_hwnd);
    const std::intptr_t id = m_host.OnMessage(WM_QUERYDRAGICON, 0, 0);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    SendMessageW(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(hwnd, &rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    if (HICON icon = id ? LoadIconW(Instance(), MAKEINTRESOURCEW(id)) : nullptr) DrawIcon(dc, x, y, icon);
    EndPaint(hwnd, &ps);
}

namespace win32tree {

void* InsertItem(void* tree, const std::string& text, void* parent, void* insertAfter) {
    std::wstring wide = Utf8ToWide(text);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent ? Item(parent) : TVI_ROOT;
    insert.hInsertAfter = Item(insertAfter);
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = wide.data();
    return reinterpret_cast<void*>(SendMessageW(Hwnd(tree), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string GetItemText(void* tree, void* item) {
    wchar_t buffer[1024];  // a name has at most 255 UTF-16 units
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = Item(item);
    tv.pszText = buffer;
    tv.cchTextMax = static_cast<int>(sizeof buffer / sizeof buffer[0]);
    buffer[0] = L'\0';
    if (!SendMessageW(Hwnd(tree), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return std::string();
    return WideToUtf8(tv.pszText, wcslen(tv.pszText));
}

void* GetNextItem(void* tree, void* item, unsigned code) {
    return reinterpret_cast<void*>(SendMessageW(Hwnd(tree), TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

bool SelectItem(void* tree, void* item) {
    return SendMessageW(Hwnd(tree), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

bool Expand(void* tree, void* item) {
    return SendMessageW(Hwnd(tree), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)) != 0;
}

bool IsExpanded(void* tree, void* item) {
    return (SendMessageW(Hwnd(tree), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

bool DeleteItem(void* tree, void* item) {
    return SendMessageW(Hwnd(tree), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

}  // namespace win32tree
