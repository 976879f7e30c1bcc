// Resource ids of the main window and the About box. Also read by windres for
// ui/resources/varnok.rc: keep it to macros, and none that the script uses may hold C++.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128
#define IDI_SMALL 129
#define IDB_DELETE 135

#define IDC_FOLDERS 1000
#define IDC_DAYS 1001
#define IDC_SUBDIRS 1002
#define IDC_PROMPT 1003
#define IDC_DELETE 1004
#define IDC_STATUS 1005
#define IDC_LASTACCESS 1006
#define IDC_DELETEDIRS 1007
#define IDC_FILETYPE 1008
#define IDC_VERSION 1009
#define IDC_DAYS_LABEL 1010
#define IDC_FILETYPE_LABEL 1011
#define IDC_READONLY 1012
#define IDC_ABOUT_HELP 1012
#define IDC_WEBLINK 1015

#define IDM_ABOUTBOX 0x0010

// The maker's lines shown in the usage text and the About box.
#define VARNOK_VERSION_TEXT "Varnok Version 1.4"
#define VARNOK_COMPANY "Varnok Project"
#define VARNOK_WEB_ADDRESS "https://varnok.example.org"
#define VARNOK_COPYRIGHT "Copyright (C) 2026 Varnok Project"
// The release in the Windows version resource; kept beside the text above.
#define VARNOK_FILE_VERSION 1, 4, 0, 0
#define VARNOK_FILE_VERSION_TEXT "1.4.0.0"

// The system menu's item for the About box (string IDS_ABOUTBOX).
#define VARNOK_ABOUT_MENU_TEXT "&About varnok..."

// Help number of a main-window control: high bit, template 102, control id.
#define VARNOK_HELP_ID(id) (0x80000000u + 102u * 0x10000u + static_cast<unsigned>(id))
