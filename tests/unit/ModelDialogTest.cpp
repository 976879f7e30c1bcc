// The dialog's window and tree held in memory: the main window initialises, exchanges
// data and runs the quiet run on them exactly as on a toolkit's window.
#include <gtest/gtest.h>

#include "framework/CWinApp.h"
#include "framework/ModelDialogWindow.h"
#include "framework/ModelTreeCtrl.h"
#include "framework/WaitCursor.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

namespace {

struct ProcessExit {
    int code;
};
[[noreturn]] void ThrowExit(int code) { throw ProcessExit{code}; }
constexpr int kEndedEarly = 3;

std::vector<std::string> Texts(const CTreeCtrl& tree, HTREEITEM parent) {
    std::vector<std::string> v;
    for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h))
        v.push_back(tree.GetItemText(h).str());
    return v;
}

TEST(ModelTree, OrderNavigationSelectionAndDeletion) {
    ModelTreeCtrl tree;
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    HTREEITEM local = tree.InsertRootItem("Local Drives");
    HTREEITEM network = tree.InsertRootItem("Network Drives");
    EXPECT_EQ(Texts(tree, nullptr), (std::vector<std::string>{"Local Drives", "Network Drives"}));
    EXPECT_EQ(tree.GetRootItem(), local);

    // Sorted without regard to case, ties by the bytes, equal texts in insertion order.
    HTREEITEM c = tree.InsertItem("C:\\", local);
    HTREEITEM first = nullptr;
    for (const char* name : {"temp2", "Temp", "b", "A", "temp", "B", "b"}) {
        HTREEITEM h = tree.InsertItem(name, c, TVI_SORT);
        if (!first) first = h;
    }
    EXPECT_EQ(Texts(tree, c), (std::vector<std::string>{"A", "B", "b", "b", "Temp", "temp", "temp2"}));
    HTREEITEM last = tree.InsertItem("0 last", c, TVI_LAST);
    EXPECT_EQ(Texts(tree, c).back(), "0 last");
    EXPECT_EQ(tree.GetNextSiblingItem(last), nullptr);
    EXPECT_EQ(tree.GetParentItem(first), c);
    EXPECT_EQ(tree.GetParentItem(local), nullptr);
    EXPECT_TRUE(tree.ItemHasChildren(c));
    EXPECT_FALSE(tree.ItemHasChildren(network));

    // The selection is the program's: none at first; selecting opens the ancestors only.
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    HTREEITEM sub = tree.InsertItem("Sub", first);
    tree.SelectItem(sub);
    EXPECT_EQ(tree.GetSelectedItem(), sub);
    EXPECT_TRUE(tree.IsExpanded(first) && tree.IsExpanded(c) && tree.IsExpanded(local));
    EXPECT_FALSE(tree.IsExpanded(sub));
    tree.Expand(sub);
    EXPECT_TRUE(tree.IsExpanded(sub));

    // Deleting takes the subtree, and the selection with it when it was inside.
    tree.DeleteItem(first);
    EXPECT_EQ(Texts(tree, c), (std::vector<std::string>{"A", "B", "b", "b", "Temp", "temp", "0 last"}));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    tree.SelectItem(network);
    tree.DeleteItem(c);
    EXPECT_FALSE(tree.ItemHasChildren(local));
    EXPECT_EQ(tree.GetSelectedItem(), network);
}

class ModelDialogTest : public testing::Test {
protected:
    void SetUp() override {
        m_oldFactory = AfxSetDialogWindowFactory([](CDialog& owner, const DialogTemplate& tmpl) {
            return std::unique_ptr<DialogWindow>(std::make_unique<ModelDialogWindow>(owner, tmpl));
        });
        m_oldExit = AfxSetExitHandler(&ThrowExit);
        while (AfxGetWaitCursorDepth() > 0) EndWaitCursor();
        fs.AddDrive('C');
        fs.AddDrive('Z', true);
    }
    void TearDown() override {
        AfxSetDialogWindowFactory(m_oldFactory);
        AfxSetExitHandler(m_oldExit);
    }
    ModelDialogWindow& Window(CVarnokDlg& dlg) { return dynamic_cast<ModelDialogWindow&>(*dlg.GetWindow()); }

    MemoryFileSystem fs;
    ScriptedPresenter boxes;
    DialogWindowFactory m_oldFactory = nullptr;
    ExitHandler m_oldExit = nullptr;
};

TEST_F(ModelDialogTest, InitialisesAndExchangesDataWithoutAWindow) {
    CVarnokDlg dlg(nullptr, &fs);
    dlg.m_strDays = "120";
    dlg.m_strFileType = "*.tmp";
    dlg.m_bPrompt = TRUE;
    dlg.m_bReadOnly = TRUE;
    ASSERT_TRUE(dlg.Create());
    ModelDialogWindow& w = Window(dlg);

    EXPECT_EQ(w.GetItemText(IDC_DAYS).str(), "120");
    EXPECT_EQ(w.GetItemText(IDC_FILETYPE).str(), "*.tmp");
    EXPECT_EQ(w.GetCheck(IDC_PROMPT), 1);
    EXPECT_EQ(w.GetCheck(IDC_READONLY), 1);
    EXPECT_EQ(w.GetCheck(IDC_SUBDIRS), 0);
    EXPECT_EQ(w.GetTextLimit(IDC_DAYS), 4);
    EXPECT_EQ(w.GetButtonBitmap(IDC_DELETE), IDB_DELETE);
    EXPECT_EQ(w.GetSmallIcon(), IDI_SMALL);
    ASSERT_EQ(w.SystemMenu().size(), 2u);
    EXPECT_EQ(w.SystemMenu()[1].first, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(w.GetFocusId(), IDC_FOLDERS);  // the first tab stop
    EXPECT_EQ(Texts(*dlg.m_pTree, dlg.m_hLocalDrives), (std::vector<std::string>{"C:\\"}));
    EXPECT_EQ(Texts(*dlg.m_pTree, dlg.m_hNetworkDrives), (std::vector<std::string>{"Z:\\"}));
    EXPECT_FALSE(w.IsShown());

    // Typing stops at the limit; a longer text from the program stays and is refused on
    // reading back, with the focus on the box.
    w.TypeText(IDC_DAYS, "12345");
    EXPECT_EQ(w.GetItemText(IDC_DAYS).str(), "120");
    w.TypeText(IDC_DAYS, "30");
    w.SetCheck(IDC_SUBDIRS, 1);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strDays.str(), "30");
    EXPECT_EQ(dlg.m_bSubDirs, TRUE);
    dlg.SetDlgItemText(IDC_DAYS, "12345");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Please enter no more than 4 characters.");
    EXPECT_EQ(w.GetFocusId(), IDC_DAYS);

    // Without anything to show it, the modal run ends at once as if cancelled.
    EXPECT_EQ(w.RunModal(), IDCANCEL);
}

TEST_F(ModelDialogTest, ShowingGoesThroughTheHandlerAndEndDialogDuringInitWins) {
    int shown = 0;
    CVarnokDlg dlg(nullptr, &fs);
    const DialogTemplate* tmpl = AfxFindDialogTemplate(IDD_MAIN);
    ASSERT_NE(tmpl, nullptr);
    ModelDialogWindow w(dlg, *tmpl, [&shown](ModelDialogWindow& self) {
        ++shown;
        EXPECT_TRUE(self.IsShown());
        return IDOK;
    });
    EXPECT_EQ(w.RunModal(), IDOK);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(w.IsShown());

    w.EndDialog(kEndedEarly);
    EXPECT_EQ(w.RunModal(), kEndedEarly);  // ended before it was shown: never shown
    EXPECT_EQ(shown, 1);
}

TEST_F(ModelDialogTest, QuietRunSweepsAndEndsBeforeAnythingIsShown) {
    const CTime now = fs.GetCurrentTime();
    fs.AddFile("C:\\Temp\\old.tmp", CTime(now.GetTime() - 40 * 86400));
    fs.AddFile("C:\\Temp\\new.tmp", now);
    fs.AddFile("C:\\Temp\\old.log", CTime(now.GetTime() - 40 * 86400));
    CVarnokDlg dlg(nullptr, &fs);
    dlg.m_strDays = "30";
    dlg.m_strFileType = "*.log";
    dlg.m_strPath = "c:\\TEMP\\*.tmp";
    dlg.m_bPathGiven = dlg.m_bQuiet = true;
    try {
        dlg.DoModal();
        ADD_FAILURE() << "no exit";
    } catch (const ProcessExit& e) {
        EXPECT_EQ(e.code, 1);
    }
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(fs.Has("C:\\Temp\\old.tmp"));
    EXPECT_TRUE(fs.Has("C:\\Temp\\new.tmp"));
    EXPECT_TRUE(fs.Has("C:\\Temp\\old.log"));
    EXPECT_FALSE(Window(dlg).IsShown());
    EXPECT_EQ(Window(dlg).GetItemText(IDC_STATUS).str(), "C:\\Temp\\*.tmp");
}

}  // namespace

// A name on the console cannot move the cursor, clear the screen or show in another order.
TEST(ConsoleNames, ControlsInvalidBytesAndReorderingMarksAreEscaped) {
    const struct {
        const char* name;
        const char* shown;
    } cases[] = {
        {"plain \xCE\xA9mega \xE6\x97\xA5.tmp", "plain \xCE\xA9mega \xE6\x97\xA5.tmp"},  // UTF-8 stays
        {"e\x1b[2J\rv\n\t\x7f", "e\\e[2J\\rv\\n\\t\\x7f"},
        {"raw\x9b"
         "2J",
         "raw\\x9b2J"},  // a raw C1 byte: CSI on 8-bit terminals
        {"utf\xC2\x9b"
         "2J",
         "utf\\xc2\\x9b2J"},                                      // the same control in UTF-8
        {"cut\xE6\x97", "cut\\xe6\\x97"},                         // a sequence cut short
        {"over\xC0\xAF", "over\\xc0\\xaf"},                       // an overlong form
        {"rtl\xE2\x80\xAEgpj.exe", "rtl\\xe2\\x80\\xaegpj.exe"},  // U+202E
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeControlCharacters(c.name).str(), c.shown) << c.name;
}
