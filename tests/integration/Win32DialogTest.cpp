// The dialogs as Windows makes them: the controls from the template data, data exchange,
// the tree view, the system menu, context help and message boxes, driven through the
// program's own message loop.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/CWinApp.h"
#include "framework/HtmlHelp.h"
#include "framework/win32/Win32Api.h"
#include "framework/win32/Win32DialogWindow.h"
#include "framework/win32/Win32MessagePresenter.h"
#include "tests/support/ScriptedPresenter.h"
#include "tests/support/win32/WinTempDir.h"
#include "tests/support/win32/WindowProbe.h"
#include "ui/HelpIds.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"
#include "ui/resources/Templates.h"

namespace {

struct HelpCall {
    void* caller;
    std::string file;
    UINT command;
    std::uintptr_t data;
};
std::vector<HelpCall> g_helpCalls;

class RecordingEngine : public HelpEngine {
public:
    HWND Invoke(HWND caller, const char* file, UINT command, std::uintptr_t data) override {
        g_helpCalls.push_back({caller, file ? file : "", command, data});
        return nullptr;
    }
};
std::unique_ptr<HelpEngine> LoadRecording() { return std::make_unique<RecordingEngine>(); }
std::vector<std::string> g_opened;
bool RecordUrl(const char* url) {
    g_opened.push_back(url);
    return true;
}

DWORD HelpNumberOf(std::uintptr_t table, int id) {
    for (const DWORD* p = reinterpret_cast<const DWORD*>(table); p[0] || p[1]; p += 2)
        if (p[0] == static_cast<DWORD>(id)) return p[1];
    return 0;
}

const char* ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::TreeView: return "SysTreeView32";
    case ControlKind::Edit: return "Edit";
    case ControlKind::CheckBox:
    case ControlKind::PushButton: return "Button";
    case ControlKind::Label:
    case ControlKind::Icon: break;
    }
    return "Static";
}

class Win32Dialog : public testing::Test {
protected:
    void SetUp() override {
        g_helpCalls.clear();
        g_opened.clear();
        AfxResetHelpEngine();
        AfxSetHelpEngineLoader(&LoadRecording);
        AfxSetUrlOpener(&RecordUrl);
    }
    void TearDown() override {
        AfxSetDialogWindowFactory(nullptr);
        AfxResetHelpEngine();
        AfxSetHelpEngineLoader(nullptr);
        AfxSetUrlOpener(nullptr);
    }
    // The dialog's window made at once, as a shown dialog has it.
    static void RealWindows() { AfxSetDialogWindowFactory(&CreateWin32DialogWindow); }
    static void* WindowOf(CDialog& dlg) { return ProbeParent(dlg.GetWindow()->GetItemHandle(IDC_FOLDERS)); }

    ScriptedPresenter boxes;
};

TEST_F(Win32Dialog, ControlsStandWhereTheTemplatePutsThemInTabOrder) {
    RealWindows();
    CVarnokDlg dlg;
    dlg.m_strDays = "120";
    dlg.m_strFileType = "*.tmp";
    ASSERT_TRUE(dlg.Create());
    void* hwnd = WindowOf(dlg);
    EXPECT_EQ(ProbeText(hwnd), "Varnok");

    const std::vector<ProbeChild> children = ProbeChildren(hwnd);
    ASSERT_EQ(children.size(), kMainTemplate.controls.size());
    std::vector<int> tabStops;
    for (size_t i = 0; i < children.size(); ++i) {
        const DialogControl& c = kMainTemplate.controls[i];
        const ProbeChild& w = children[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(w.id, c.id);
        EXPECT_EQ(w.className, ClassOf(c.kind));
        if (c.kind != ControlKind::Edit && c.kind != ControlKind::TreeView && c.id != IDC_STATUS) {
            EXPECT_EQ(w.text, c.text);
        }
        EXPECT_EQ(w.rect, ProbeMapDialogRect(hwnd, c.x, c.y, c.cx, c.cy));
        // The dialog manager draws a control's border as a sunken edge (WS_EX_CLIENTEDGE).
        const DWORD style = c.style & ~WS_BORDER;
        EXPECT_EQ(w.style & style, style);
        if (c.style & WS_TABSTOP) tabStops.push_back(c.id);
    }
    EXPECT_EQ(ProbeTabOrder(hwnd), tabStops);
    EXPECT_EQ(ProbeText(dlg.GetWindow()->GetItemHandle(IDC_DAYS)), "120");
    EXPECT_EQ(ProbeText(dlg.GetWindow()->GetItemHandle(IDC_FILETYPE)), "*.tmp");
}

TEST_F(Win32Dialog, DataExchangeBothWaysAndTheFourCharacterRefusal) {
    RealWindows();
    CVarnokDlg dlg;
    dlg.m_bSubDirs = TRUE;
    dlg.m_bReadOnly = 7;  // out of range: shown unchecked
    dlg.m_strDays = "12345";
    dlg.m_strFileType = "*.log";
    ASSERT_TRUE(dlg.Create());
    DialogWindow* w = dlg.GetWindow();
    void* days = w->GetItemHandle(IDC_DAYS);
    EXPECT_EQ(ProbeText(days), "12345");  // a preset is shown in full
    EXPECT_EQ(ProbeEditLimit(days), 4);
    EXPECT_EQ(w->GetCheck(IDC_SUBDIRS), 1);
    EXPECT_EQ(w->GetCheck(IDC_READONLY), 0);

    ProbeLater(50, [&] {
        // Tab selects the whole text; typing replaces it and stops at four characters.
        ProbeFocus(days);
        ProbeTypeChars(days, "12345");
        EXPECT_EQ(ProbeText(days), "1234");

        ProbeClick(w->GetItemHandle(IDC_PROMPT));
        ProbeClick(w->GetItemHandle(IDC_SUBDIRS));
        w->SetItemText(IDC_FILETYPE, "*.bak");
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_bPrompt, TRUE);
        EXPECT_EQ(dlg.m_bSubDirs, FALSE);
        EXPECT_EQ(dlg.m_strDays.str(), "1234");
        EXPECT_EQ(dlg.m_strFileType.str(), "*.bak");

        // Five characters put in otherwise are refused at the next exchange.
        w->SetItemText(IDC_DAYS, "99999");
        w->SetItemText(IDC_FILETYPE, "*.old");
        ProbeFocus(w->GetItemHandle(IDC_FILETYPE));
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_strDays.str(), "99999");
        EXPECT_EQ(dlg.m_strFileType.str(), "*.bak");  // the exchange stopped before it
        EXPECT_EQ(ProbeFocusId(), IDC_DAYS);
        EXPECT_EQ(ProbeEditSelection(days), std::make_pair(0, 5));
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Please enter no more than 4 characters.");
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONEXCLAMATION | MB_OK);
}

TEST_F(Win32Dialog, TreeReadsDrivesOnDoubleClickAndF5RefreshesOrRefusesARoot) {
    RealWindows();
    CVarnokDlg dlg;
    dlg.m_strDays = "120";
    ASSERT_TRUE(dlg.Create());
    CTreeCtrl* tree = dlg.m_pTree;
    void* treeWindow = dlg.GetWindow()->GetItemHandle(IDC_FOLDERS);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->GetItemText(tree->GetRootItem()).str(), "Local Drives");
    EXPECT_EQ(tree->GetItemText(tree->GetNextSiblingItem(tree->GetRootItem())).str(), "Network Drives");
    HTREEITEM drive = nullptr;  // the system's drive, C:\ under Wine
    const std::string system = SystemDriveRoot();
    for (HTREEITEM h = tree->GetChildItem(dlg.m_hLocalDrives); h; h = tree->GetNextSiblingItem(h))
        if (tree->GetItemText(h).str() == system) drive = h;
    ASSERT_TRUE(drive) << system;
    EXPECT_FALSE(tree->ItemHasChildren(drive));  // nothing read ahead

    auto children = [&](HTREEITEM parent) {
        std::vector<std::string> names;
        for (HTREEITEM h = tree->GetChildItem(parent); h; h = tree->GetNextSiblingItem(h))
            names.push_back(tree->GetItemText(h).str());
        return names;
    };
    std::vector<std::string> read;
    ProbeLater(50, [&] {
        tree->SelectItem(drive);
        ProbeDoubleClickItem(treeWindow, drive);
        read = children(drive);
        EXPECT_TRUE(tree->IsExpanded(drive));  // the control opened it after the read
        // F5 with the focus in the age box reads the selected item again: what was below
        // it goes.
        tree->InsertItem("no such folder", tree->GetChildItem(drive), TVI_LAST);
        ProbeFocus(dlg.GetWindow()->GetItemHandle(IDC_DAYS));
        ProbePostKey(dlg.GetWindow()->GetItemHandle(IDC_DAYS), VK_F5);
        ProbeLater(50, [&] {
            EXPECT_EQ(children(drive), read);
            EXPECT_FALSE(tree->ItemHasChildren(tree->GetChildItem(drive)));
            tree->SelectItem(dlg.m_hLocalDrives);
            ProbePostKey(treeWindow, VK_F5);
            ProbeLater(50, [&] { dlg.EndDialog(IDCANCEL); });
        });
    });
    dlg.DoModal();
    EXPECT_NE(std::find(read.begin(), read.end(), "windows"), read.end());
    std::vector<std::string> sorted = read;
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return CompareTreeItemText(a.c_str(), b.c_str()) < 0; });
    EXPECT_EQ(read, sorted);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Cannot refresh root");
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONERROR | MB_OK);
}

// The dialog manager's keys: Return presses the default button (Delete), Alt+D its
// mnemonic, Escape ends the dialog.
TEST_F(Win32Dialog, ReturnAltDAndEscapeFromTheKeyboard) {
    CVarnokDlg dlg;
    dlg.m_strDays = "120";
    ProbeLater(50, [&] {
        ProbeFocus(dlg.GetWindow()->GetItemHandle(IDC_FILETYPE));
        ProbePressKey(0x0D);  // Return
        ProbeLater(50, [&] {
            ProbePressAltKey('D');
            ProbeLater(50, [&] { ProbePressKey(0x1B); });  // Escape
        });
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(boxes.boxes.size(), 2u);  // nothing selected: refused, twice
    for (const auto& box : boxes.boxes) {
        EXPECT_EQ(box.text, "Cannot continue, please select a valid disk/directory");
        EXPECT_EQ(box.type, MB_ICONERROR | MB_OK);
    }
}

// The program's own path: the window made when it is shown.
TEST_F(Win32Dialog, SystemMenuOpensTheAboutBoxWithHelpAndTheWebLink) {
    CVarnokDlg dlg;
    dlg.m_strDays = "120";
    bool aboutSeen = false;
    std::vector<std::pair<unsigned, std::string>> menu;
    ProbeLater(50, [&] {
        void* main = ProbeFindWindow("Varnok");
        ASSERT_TRUE(main);
        EXPECT_TRUE(ProbeHasSmallIcon(main));
        EXPECT_TRUE(ProbeHasButtonBitmap(dlg.GetWindow()->GetItemHandle(IDC_DELETE)));
        menu = ProbeSystemMenu(main);
        ProbePostSysCommand(main, IDM_ABOUTBOX);
        ProbeLater(50, [&, main] {
            void* about = ProbeFindWindow("About varnok");
            ASSERT_TRUE(about);
            aboutSeen = true;
            EXPECT_FALSE(ProbeIsEnabled(main));  // modal over the main window
            const std::vector<ProbeChild> controls = ProbeChildren(about);
            ASSERT_EQ(controls.size(), kAboutTemplate.controls.size());
            EXPECT_EQ(controls[3].text, "OK");
            EXPECT_EQ(controls[4].text, "Help");
            ProbePostCommand(about, IDC_ABOUT_HELP);
            ProbePostCommand(about, IDC_ABOUT_HELP);
            for (const ProbeChild& c : controls)
                if (c.id == IDC_WEBLINK) ProbeMouseClick(c.hwnd);
            ProbePostCommand(about, IDCANCEL);
            ProbeLater(50, [&, main] {
                EXPECT_EQ(ProbeFindWindow("About varnok"), nullptr);
                EXPECT_TRUE(ProbeIsEnabled(main));
                ProbePostCommand(main, IDCANCEL);  // Escape's command ends the main window
            });
        });
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(aboutSeen);
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2], std::make_pair(0u, std::string()));
    EXPECT_EQ(menu.back(), std::make_pair(static_cast<unsigned>(IDM_ABOUTBOX), std::string("&About varnok...")));
    ASSERT_EQ(g_helpCalls.size(), 2u);  // each press calls again, the box stays
    EXPECT_EQ(g_helpCalls[0].caller, nullptr);
    EXPECT_EQ(g_helpCalls[0].file, "varnok.chm");
    EXPECT_EQ(g_helpCalls[0].command, HH_DISPLAY_TOPIC);
    EXPECT_EQ(g_opened, std::vector<std::string>{VARNOK_WEB_ADDRESS});
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Win32Dialog, HelpForAControlReachesHtmlHelpWithItsHelpNumber) {
    RealWindows();
    CVarnokDlg dlg;
    ASSERT_TRUE(dlg.Create());
    void* hwnd = WindowOf(dlg);
    void* button = dlg.GetWindow()->GetItemHandle(IDC_DELETE);
    ProbeLater(50, [&] {
        // F1 on the focused Delete button, as the keyboard gives it.
        ProbeFocus(button);
        ProbePressKey(VK_F1);
        ProbeLater(50, [&] {
            // And the request the "?" button makes for the tree.
            EXPECT_TRUE(ProbeSendHelp(hwnd, IDC_FOLDERS));
            dlg.EndDialog(IDCANCEL);
        });
    });
    dlg.DoModal();
    ASSERT_EQ(g_helpCalls.size(), 2u);
    EXPECT_EQ(g_helpCalls[0].caller, button);
    EXPECT_EQ(HelpNumberOf(g_helpCalls[0].data, IDC_DELETE), 0x806603ECu);
    EXPECT_EQ(HelpNumberOf(g_helpCalls[1].data, IDC_FOLDERS), 0x806603E8u);
    for (const HelpCall& call : g_helpCalls) {
        EXPECT_EQ(call.file, "varnok.chm::/varnokpopups.txt");
        EXPECT_EQ(call.command, HH_TP_HELP_WM_HELP);
        EXPECT_EQ(call.data, reinterpret_cast<std::uintptr_t>(kHelpIds));
    }
}

TEST_F(Win32Dialog, DeleteSweepsTheSelectedFolderAfterItsQuestions) {
    // A folder whose name is outside the ANSI code page: the tree hands it to the sweep as
    // it is.
    WinTempDir tmp;
    const std::string folder = "\xCE\xA9mega";
    tmp.File(folder + "\\old.tmp", 946684800);
    tmp.File(folder + "\\kept.tmp", 946684800);
    tmp.File(folder + "\\new.tmp", 2'000'000'000);
    CVarnokDlg dlg;
    dlg.m_strDays = "30";
    dlg.m_strFileType = "*.tmp";
    dlg.m_bPrompt = TRUE;
    dlg.m_strPath = (tmp / folder).c_str();
    dlg.m_bPathGiven = true;
    // Sure? Yes; kept.tmp: No; old.tmp: Yes.
    boxes.whileShown = [&](const std::string& text) {
        boxes.Answer({text.find("kept.tmp") != std::string::npos ? IDNO : IDYES});
    };
    std::string status;
    ProbeLater(50, [&] {
        ProbeClick(dlg.GetWindow()->GetItemHandle(IDC_DELETE));
        status = ProbeText(dlg.GetWindow()->GetItemHandle(IDC_STATUS));
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_FALSE(tmp.Exists(folder + "\\old.tmp"));
    EXPECT_TRUE(tmp.Exists(folder + "\\kept.tmp"));
    EXPECT_TRUE(tmp.Exists(folder + "\\new.tmp"));
    EXPECT_EQ(status, tmp / folder + "\\*.tmp");
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONQUESTION | MB_YESNO);
}

// The real MessageBox: the caption, the text, the buttons, and the answer given.
TEST(Win32MessageBox, ShowsTextButtonsAndReturnsTheButtonPressed) {
    const struct {
        UINT type;
        int press;
    } cases[] = {{MB_YESNOCANCEL | MB_ICONQUESTION, IDNO}, {MB_OK | MB_ICONERROR, IDOK}, {MB_OKCANCEL, IDCANCEL}};
    Win32MessagePresenter presenter;
    for (const auto& c : cases) {
        std::string seen;
        ProbeLater(100, [&] {
            void* box = ProbeFindWindow("varnok", "#32770");
            ASSERT_TRUE(box);
            for (const ProbeChild& child : ProbeChildren(box))
                if (child.className == "Static" && !child.text.empty()) seen = child.text;
            ProbePostCommand(box, c.press);
        });
        EXPECT_EQ(presenter.Show("Line one\nline two", c.type, "varnok"), c.press);
        EXPECT_EQ(seen, "Line one\nline two");
    }
}

// Wine's help library loads and takes the calls; it shows no pop-ups, so only the call
// itself is checked: no crash, and the dialog goes on.
TEST_F(Win32Dialog, ContextHelpThroughTheSystemsHelpLibrary) {
    AfxSetHelpEngineLoader(&LoadWin32HelpEngine);
    ASSERT_NE(Win32LoadHtmlHelp(), nullptr);
    RealWindows();
    CVarnokDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ProbeLater(50, [&] {
        EXPECT_TRUE(ProbeSendHelp(WindowOf(dlg), IDC_DAYS));
        HtmlHelpA(nullptr, nullptr, HH_CLOSE_ALL, 0);
        dlg.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

// A help file named without a folder is the one beside the program, never one in the
// current folder.
TEST(Win32HtmlHelp, HelpFileIsTheOneBesideTheProgram) {
    const std::string folder = ShortPathOf(OwnFolder()) + "\\";
    const struct {
        std::string file, expected;
    } cases[] = {
        {"varnok.chm", folder + "varnok.chm"},
        {"varnok.chm::/varnokpopups.txt", folder + "varnok.chm::/varnokpopups.txt"},
        {"C:\\Help\\varnok.chm", "C:\\Help\\varnok.chm"},
        {"sub\\varnok.chm", "sub\\varnok.chm"},
    };
    for (const auto& c : cases) EXPECT_EQ(Win32HelpFileBesideProgram(c.file), c.expected) << c.file;
}

}  // namespace
