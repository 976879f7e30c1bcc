// What a user or a test sees of real windows, and input sent to them, behind plain C++
// types (the tests also include the framework's own Windows names). Handles are HWNDs.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ProbeRect {
    long left, top, right, bottom;
    bool operator==(const ProbeRect&) const = default;
};

struct ProbeChild {
    void* hwnd;
    int id;
    std::string className;
    std::string text;
    ProbeRect rect;  // in the dialog's client coordinates
    unsigned style;
    unsigned helpId;
};

// The dialog a control belongs to.
void* ProbeParent(void* hwnd);
// The children in creation order (the template's order), with their places.
std::vector<ProbeChild> ProbeChildren(void* dialog);
// A rectangle in dialog units as the dialog manager converts it (MapDialogRect).
ProbeRect ProbeMapDialogRect(void* dialog, int x, int y, int cx, int cy);
// The ids Tab visits, from the first tab stop round to it again.
std::vector<int> ProbeTabOrder(void* dialog);
// The visible top-level window of this program with that title (and class, if given).
void* ProbeFindWindow(const std::string& title, const std::string& className = "");
std::string ProbeText(void* hwnd);
bool ProbeIsEnabled(void* hwnd);
int ProbeFocusId();  // the id of the control with the keyboard focus, 0 when none
int ProbeEditLimit(void* edit);
std::pair<int, int> ProbeEditSelection(void* edit);
// The system menu's items: (command, text); a separator is (0, "").
std::vector<std::pair<unsigned, std::string>> ProbeSystemMenu(void* hwnd);
// Has the control an image set with BM_SETIMAGE / STM_SETICON?
bool ProbeHasButtonBitmap(void* button);
bool ProbeHasSmallIcon(void* hwnd);

// Input, as the user gives it: keys and commands are posted, so that they pass the
// program's message loop.
void ProbeTypeChars(void* hwnd, const std::string& chars);  // WM_CHAR, sent
void ProbePostKey(void* hwnd, unsigned virtualKey);
// A key pressed and released on the keyboard (SendInput), for the window with the focus.
void ProbePressKey(unsigned virtualKey);
void ProbePressAltKey(unsigned virtualKey);  // with Alt held
void ProbePostCommand(void* hwnd, int id);
void ProbePostSysCommand(void* hwnd, unsigned command);
void ProbeClick(void* button);                      // BM_CLICK
void ProbeMouseClick(void* control);                // the left button pressed and released on it
void ProbeFocus(void* control);                     // WM_NEXTDLGCTL to the control's dialog
void ProbeDoubleClickItem(void* tree, void* item);  // the mouse on the item's text
bool ProbeSendHelp(void* dialog, int controlId);    // WM_HELP as F1 sends it for the control

// Runs step once, after ms milliseconds, from whatever message loop runs then.
void ProbeLater(int ms, std::function<void()> step);
