// A dialog template held as data, as a resource script would describe it.
#pragma once
#include <vector>

#include "framework/afxdefs.h"

enum class ControlKind { TreeView, Edit, CheckBox, PushButton, Label, Icon };

struct DialogControl {
    int id;            // -1 for a control without an id
    const char* name;  // the resource symbol, "" when none
    ControlKind kind;
    const char* text;  // caption; for an icon the resource id as text
    int x, y, cx, cy;  // dialog units
    DWORD style;
    DWORD exStyle;
    DWORD helpId;  // 0 when the control carries none
};

struct DialogTemplate {
    int id;
    const char* caption;
    int cx, cy;  // dialog units
    const char* fontName;
    int pointSize;
    DWORD style;
    DWORD exStyle;
    std::vector<DialogControl> controls;  // template order, which is also the tab order
};
