// A dialog window and its tree view on the Win32 API, behind plain C++ types (like
// Win32Api.h): the framework's adapter (Win32DialogWindow.cpp) speaks its own Windows
// names, this side speaks <windows.h>'s; message numbers are the same on both.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the window reports to the dialog that owns it.
class Win32DialogHost {
public:
    struct Notify {  // NMHDR
        void* hwndFrom;
        unsigned idFrom;
        unsigned code;
    };
    struct Help {  // HELPINFO
        int contextType;
        int ctrlId;
        void* itemHandle;
        std::uint32_t contextId;
        long x, y;
    };

    virtual ~Win32DialogHost() = default;
    // WM_COMMAND, WM_SYSCOMMAND and WM_QUERYDRAGICON with their parameters; WM_NOTIFY
    // and WM_HELP with lParam pointing at a Notify or a Help.
    virtual std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Every message the modal loop takes for the window or one of its controls, before
    // the dialog manager sees it; true when the dialog used it up.
    virtual bool PreTranslate(void* hwnd, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

class Win32Dialog {
public:
    // Creates the window, hidden, from DLGTEMPLATEEX words; owned by the dialog that runs
    // at the moment, if any. Handle() is null when the window could not be made.
    Win32Dialog(Win32DialogHost& host, const std::vector<std::uint16_t>& tmpl);
    ~Win32Dialog();
    Win32Dialog(const Win32Dialog&) = delete;
    Win32Dialog& operator=(const Win32Dialog&) = delete;

    void* Handle() const { return m_hwnd; }
    void* ItemHandle(int id) const;
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    int GetCheck(int id) const;
    void SetCheck(int id, int state);
    void LimitText(int id, int nChars);
    void FocusAndSelectAll(int id);
    int GetFocusId() const;
    void SetButtonBitmap(int id, int bitmapId);
    void SetSmallIcon(int iconId);
    bool HasSystemMenu() const;
    void AppendSystemMenuItem(unsigned cmd, const std::string& text);  // cmd 0: a separator
    bool IsShown() const;
    // Shows the window with its owner disabled and runs the dialog's message loop until
    // EndDialog; returns EndDialog's result.
    int RunModal();
    void EndDialog(int result);

    // The dialog procedure's work for one message; *handled false leaves it to the
    // dialog manager.
    std::intptr_t OnWindowMessage(void* hwnd, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                  bool* handled);

private:
    void CenterOverOwner();
    void PaintMinimised();

    Win32DialogHost& m_host;
    void* m_hwnd = nullptr;
    void* m_bitmap = nullptr;  // the button's image, owned while the window lives
    void* m_smallIcon = nullptr;
    int m_focusId = 0;  // where the focus goes when the window is shown
    bool m_running = false;
    bool m_ended = false;
    int m_result = 2;  // IDCANCEL
};

// The window of the innermost dialog that runs, or null: the owner of message boxes.
void* Win32RunningDialog();

// The tree-view operations, on the control's window; items are HTREEITEMs.
namespace win32tree {
void* InsertItem(void* tree, const std::string& text, void* parent, void* insertAfter);
std::string GetItemText(void* tree, void* item);
void* GetNextItem(void* tree, void* item, unsigned code);  // TVGN_*
bool SelectItem(void* tree, void* item);
bool Expand(void* tree, void* item);
bool IsExpanded(void* tree, void* item);
bool DeleteItem(void* tree, void* item);
}  // namespace win32tree
