// Dialog templates 102 (main window) and 100 (About box) and the string table.
#include "ui/resources/Templates.h"

#include "framework/DialogWindow.h"
#include "ui/resource.h"

namespace {
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLabel = kChild | WS_GROUP;
}  // namespace

const DialogTemplate kMainTemplate = {
    IDD_MAIN,
    "Varnok",
    268,
    175,
    "MS Sans Serif",
    8,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT,
    WS_EX_APPWINDOW | WS_EX_CONTEXTHELP,
    {
        {IDC_FOLDERS, "IDC_FOLDERS", ControlKind::TreeView, "Tree1", 13, 7, 143, 148,
         kChild | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
         WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, VARNOK_HELP_ID(IDC_FOLDERS)},
        {IDC_DAYS, "IDC_DAYS", ControlKind::Edit, "", 162, 28, 32, 13, kEdit, 0, VARNOK_HELP_ID(IDC_DAYS)},
        {IDC_FILETYPE, "IDC_FILETYPE", ControlKind::Edit, "", 162, 45, 32, 13, kEdit, 0, VARNOK_HELP_ID(IDC_FILETYPE)},
        {IDC_SUBDIRS, "IDC_SUBDIRS", ControlKind::CheckBox, "Check sub-directories", 162, 65, 84, 10, kCheck, 0,
         VARNOK_HELP_ID(IDC_SUBDIRS)},
        {IDC_PROMPT, "IDC_PROMPT", ControlKind::CheckBox, "Prompt before delete", 162, 75, 81, 10, kCheck, 0,
         VARNOK_HELP_ID(IDC_PROMPT)},
        {IDC_LASTACCESS, "IDC_LASTACCESS", ControlKind::CheckBox, "Check last access", 162, 85, 74, 10, kCheck, 0,
         VARNOK_HELP_ID(IDC_LASTACCESS)},
        {IDC_DELETEDIRS, "IDC_DELETEDIRS", ControlKind::CheckBox, "Delete Directories", 162, 95, 72, 10, kCheck, 0,
         VARNOK_HELP_ID(IDC_DELETEDIRS)},
        {IDC_DELETE, "IDC_DELETE", ControlKind::PushButton, "&Delete!", 180, 118, 60, 38,
         kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | BS_BITMAP, 0, VARNOK_HELP_ID(IDC_DELETE)},
        {IDC_DAYS_LABEL, "IDC_DAYS_LABEL", ControlKind::Label, "Delete files over x days old", 205, 25, 55, 18, kLabel,
         0, VARNOK_HELP_ID(IDC_DAYS_LABEL)},
        {IDC_VERSION, "IDC_VERSION", ControlKind::Label, VARNOK_VERSION_TEXT, 179, 7, 60, 8, kLabel, 0,
         VARNOK_HELP_ID(IDC_VERSION)},
        {IDC_STATUS, "IDC_STATUS", ControlKind::Label, "", 7, 158, 247, 10, kLabel, 0, 0},
        {IDC_FILETYPE_LABEL, "IDC_FILETYPE_LABEL", ControlKind::Label, "File Type", 205, 48, 40, 11, kLabel, 0,
         VARNOK_HELP_ID(IDC_FILETYPE_LABEL)},
        {IDC_READONLY, "IDC_READONLY", ControlKind::CheckBox, "Delete Read-only files", 162, 105, 85, 10, kCheck, 0,
         VARNOK_HELP_ID(IDC_READONLY)},
    },
};

const DialogTemplate kAboutTemplate = {
    IDD_ABOUTBOX,
    "About varnok",
    235,
    55,
    "MS Sans Serif",
    8,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    {
        {-1, "", ControlKind::Icon, "128", 13, 17, 20, 20, kChild | SS_ICON, 0, 0},
        {-1, "", ControlKind::Label, VARNOK_VERSION_TEXT, 46, 13, 119, 8, kLabel | SS_NOPREFIX, 0, 0},
        {-1, "", ControlKind::Label, VARNOK_COPYRIGHT, 46, 23, 119, 8, kLabel, 0, 0},
        {IDOK, "IDOK", ControlKind::PushButton, "OK", 178, 7, 50, 14, kChild | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON,
         0, 0},
        {IDC_ABOUT_HELP, "IDC_ABOUT_HELP", ControlKind::PushButton, "Help", 178, 25, 50, 14, kChild | WS_TABSTOP, 0, 0},
        {IDC_WEBLINK, "IDC_WEBLINK", ControlKind::Label, VARNOK_WEB_ADDRESS, 46, 33, 103, 8,
         kLabel | SS_NOTIFY | SS_LEFTNOWORDWRAP, 0, 0},
    },
};

void RegisterVarnokResources() {
    AfxRegisterDialogTemplate(&kMainTemplate);
    AfxRegisterDialogTemplate(&kAboutTemplate);
    AfxRegisterString(IDS_ABOUTBOX, VARNOK_ABOUT_MENU_TEXT);
}
