// The handful of Windows types and constants the program's code is written in.
// Toolkit-free: nothing here names Qt or a system header beyond the C++ library.
#pragma once
#include <cstdint>

using BOOL = int;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Opaque handles: the toolkit backend decides what they point at.
using HWND = struct HWND__*;
using HTREEITEM = struct _TREEITEM*;
#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE)))
#define TVI_SORT (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD)))

constexpr UINT LOWORD(WPARAM w) { return static_cast<UINT>(w & 0xFFFF); }
constexpr UINT HIWORD(WPARAM w) { return static_cast<UINT>((w >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(UINT lo, UINT hi) { return (WPARAM(hi & 0xFFFF) << 16) | (lo & 0xFFFF); }

// Message boxes
constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONINFORMATION = 0x40,
               MB_ICONMASK = 0xF0;
constexpr int IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;

// Window messages
constexpr UINT WM_PAINT = 0x000F, WM_QUERYDRAGICON = 0x0037, WM_NOTIFY = 0x004E, WM_HELP = 0x0053, WM_KEYDOWN = 0x0100,
               WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112;
constexpr UINT BN_CLICKED = 0, STN_CLICKED = 0;
constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
constexpr WPARAM VK_F1 = 0x70, VK_F5 = 0x74;
constexpr UINT ID_HELP = 0xE146;

// Window and control styles carried by the dialog templates
constexpr DWORD WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_CAPTION = 0x00C00000,
                WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000;
constexpr DWORD DS_MODALFRAME = 0x80, DS_SETFONT = 0x40, DS_3DLOOK = 0x4;
constexpr DWORD WS_EX_CLIENTEDGE = 0x200, WS_EX_STATICEDGE = 0x20000, WS_EX_APPWINDOW = 0x40000,
                WS_EX_CONTEXTHELP = 0x400;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD BS_AUTOCHECKBOX = 0x3, BS_DEFPUSHBUTTON = 0x1, BS_BITMAP = 0x80;
constexpr DWORD SS_ICON = 0x3, SS_LEFTNOWORDWRAP = 0xC, SS_NOTIFY = 0x100, SS_NOPREFIX = 0x80;
constexpr DWORD TVS_HASBUTTONS = 0x1, TVS_HASLINES = 0x2, TVS_LINESATROOT = 0x4, TVS_SHOWSELALWAYS = 0x20;

struct NMHDR {
    HWND hwndFrom;
    UINT idFrom;
    UINT code;
};

struct POINT {
    long x;
    long y;
};

constexpr int HELPINFO_WINDOW = 1;
struct HELPINFO {
    UINT cbSize;
    int iContextType;
    int iCtrlId;
    HWND hItemHandle;
    DWORD dwContextId;
    POINT MousePos;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
