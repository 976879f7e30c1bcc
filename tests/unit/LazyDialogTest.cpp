// The main window held in memory until it is shown: when the toolkit's window takes its
// place, it gets everything the dialog set, and the tree handles the dialog holds keep
// working. A second in-memory window stands in for the toolkit's here.
#include <gtest/gtest.h>

#include "framework/LazyDialogWindow.h"
#include "framework/WaitCursor.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

namespace {

ModelDialogWindow* g_real = nullptr;  // the window the realiser built
int g_realised = 0;

std::unique_ptr<DialogWindow> LazyOverModel(CDialog& owner, const DialogTemplate& tmpl) {
    return std::make_unique<LazyDialogWindow>(owner, tmpl, [&owner, &tmpl] {
        ++g_realised;
        auto real = std::make_unique<ModelDialogWindow>(owner, tmpl);
        g_real = real.get();
        return std::unique_ptr<DialogWindow>(std::move(real));
    });
}

// A level's texts with the expansion ("+") and selection ("*") of each item, depth first.
std::string Shape(const CTreeCtrl& tree, HTREEITEM parent = nullptr, const std::string& indent = "") {
    std::string s;
    for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h)) {
        s += indent + tree.GetItemText(h).str() + (tree.IsExpanded(h) ? "+" : "") +
             (tree.GetSelectedItem() == h ? "*" : "") + "\n";
        s += Shape(tree, h, indent + "  ");
    }
    return s;
}

class LazyDialogTest : public testing::Test {
protected:
    void SetUp() override {
        m_oldFactory = AfxSetDialogWindowFactory(&LazyOverModel);
        g_real = nullptr;
        g_realised = 0;
        while (AfxGetWaitCursorDepth() > 0) EndWaitCursor();
        fs.AddDrive('C');
        fs.AddDrive('Z', true);
        for (const char* f : {"C:\\Temp\\b", "C:\\Temp\\Sub", "C:\\Temp\\A", "C:\\Windows", "Z:\\Logs"})
            fs.AddFolder(f);
    }
    void TearDown() override { AfxSetDialogWindowFactory(m_oldFactory); }
    LazyDialogWindow& Lazy(CVarnokDlg& dlg) { return dynamic_cast<LazyDialogWindow&>(*dlg.GetWindow()); }

    MemoryFileSystem fs;
    ScriptedPresenter boxes;
    DialogWindowFactory m_oldFactory = nullptr;
};

TEST_F(LazyDialogTest, TheShownWindowTakesOverEverythingTheDialogSet) {
    CVarnokDlg dlg(nullptr, &fs);
    dlg.m_strDays = "12345";  // shown in full, refused when read back
    dlg.m_strFileType = "*.tmp";
    dlg.m_strPath = "C:\\Temp";
    dlg.m_bPathGiven = true;
    dlg.m_bSubDirs = dlg.m_bReadOnly = TRUE;
    ASSERT_TRUE(dlg.Create());
    LazyDialogWindow& lazy = Lazy(dlg);
    EXPECT_EQ(g_realised, 0);
    EXPECT_FALSE(dlg.UpdateData(TRUE));  // moves the focus to the age box
    const ModelDialogWindow& model = lazy.Model();
    const std::string shape = Shape(*dlg.m_pTree);
    EXPECT_EQ(shape,
              "Local Drives+\n  C:\\+\n    Temp+*\n      A\n      b\n      Sub\n    Windows\nNetwork Drives\n  Z:\\\n");

    ASSERT_NE(lazy.Realize(), nullptr);
    ASSERT_EQ(g_realised, 1);
    ModelDialogWindow& real = *g_real;
    for (int id : {IDC_DAYS, IDC_FILETYPE, IDC_STATUS, IDC_VERSION, IDC_DELETE})
        EXPECT_EQ(real.GetItemText(id).str(), model.GetItemText(id).str()) << id;
    for (int id : {IDC_SUBDIRS, IDC_PROMPT, IDC_LASTACCESS, IDC_DELETEDIRS, IDC_READONLY})
        EXPECT_EQ(real.GetCheck(id), model.GetCheck(id)) << id;
    EXPECT_EQ(real.GetCheck(IDC_READONLY), 1);
    EXPECT_EQ(real.GetTextLimit(IDC_DAYS), 4);
    EXPECT_EQ(real.GetButtonBitmap(IDC_DELETE), IDB_DELETE);
    EXPECT_EQ(real.GetSmallIcon(), IDI_SMALL);
    EXPECT_EQ(real.SystemMenu(), model.SystemMenu());
    EXPECT_EQ(real.GetFocusId(), IDC_DAYS);
    EXPECT_EQ(Shape(*real.GetTree(IDC_FOLDERS)), shape);

    // From now on the dialog works on the shown window, through the handles it kept.
    EXPECT_EQ(lazy.Target(), &real);
    dlg.SetDlgItemText(IDC_STATUS, "elsewhere");
    EXPECT_EQ(real.GetItemText(IDC_STATUS).str(), "elsewhere");
    EXPECT_EQ(model.GetItemText(IDC_STATUS).str(), "C:\\Temp");
    HTREEITEM hTemp = dlg.m_pTree->GetSelectedItem();
    HTREEITEM hC = dlg.m_pTree->GetParentItem(hTemp);
    EXPECT_EQ(dlg.m_pTree->GetParentItem(hC), dlg.m_hLocalDrives);  // the same handle as before
    EXPECT_EQ(dlg.m_pTree->GetChildItem(dlg.m_hNetworkDrives), dlg.m_pTree->GetChildItem(dlg.m_hNetworkDrives));
    EXPECT_EQ(dlg.GetItemPath(hTemp).str(), "C:\\Temp\\");

    // F5 on the folder reads it again into the shown tree; twice, so that the items read
    // after the hand-over are deleted through the handles too.
    fs.AddFolder("C:\\Temp\\new");
    const std::string refreshed = "Local Drives+\n  C:\\+\n    Temp+*\n      A\n      b\n      new\n      Sub\n    "
                                  "Windows\nNetwork Drives\n  Z:\\\n";
    dlg.RefreshItem(hTemp);
    EXPECT_EQ(Shape(*real.GetTree(IDC_FOLDERS)), refreshed);
    EXPECT_EQ(Shape(*dlg.m_pTree), refreshed);
    dlg.RefreshItem(hTemp);
    EXPECT_EQ(Shape(*real.GetTree(IDC_FOLDERS)), refreshed);
    // The tree in memory stays as it was handed over: every change went to the shown one.
    EXPECT_EQ(Shape(*const_cast<ModelDialogWindow&>(model).GetTree(IDC_FOLDERS)), shape);
    LRESULT result = 1;
    dlg.m_pTree->SelectItem(dlg.m_pTree->GetChildItem(dlg.m_hNetworkDrives));
    dlg.OnDblclkFolders(nullptr, &result);  // reads Z:\ into the shown tree
    EXPECT_NE(Shape(*real.GetTree(IDC_FOLDERS)).find("  Z:\\*\n    Logs\n"), std::string::npos);
    EXPECT_TRUE(dlg.UpdateData(FALSE));
}

TEST_F(LazyDialogTest, AWindowNeverShownIsNeverBuilt) {
    CVarnokDlg dlg(nullptr, &fs);
    ASSERT_TRUE(dlg.Create());
    dlg.EndDialog(IDOK);  // ended while it initialised, as a quiet run's end would
    EXPECT_EQ(Lazy(dlg).RunModal(), IDOK);
    EXPECT_EQ(g_realised, 0);

    // Shown: built once, and the modal run is the shown window's.
    CVarnokDlg shown(nullptr, &fs);
    EXPECT_EQ(shown.DoModal(), IDCANCEL);
    EXPECT_EQ(g_realised, 1);

    // A toolkit that cannot build the window: the modal run fails, as DoModal's does.
    LazyDialogWindow refused(dlg, *AfxFindDialogTemplate(IDD_MAIN), [] { return std::unique_ptr<DialogWindow>(); });
    EXPECT_EQ(refused.RunModal(), -1);
}

}  // namespace
