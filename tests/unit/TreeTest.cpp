// The folder tree, the start folder and the Delete command, with Windows rules in memory
// and the real tree widget under the offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "framework/CWinApp.h"
#include "framework/WaitCursor.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

namespace {

constexpr std::int64_t kDay = 86400;
const CTime kNow(986551200);  // Fri Apr 06 10:00:00 2001 UTC
const CTime kOld(kNow.GetTime() - 200 * kDay);

struct ProcessExit {
    int code;
};
[[noreturn]] void ThrowExit(int code) { throw ProcessExit{code}; }

class TreeTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC0", 1);
        tzset();
        fs.SetNow(kNow);
        fs.AddDrive('C');
        fs.AddDrive('D');
        fs.AddDrive('Z', true);
        fs.AddFolder("C:\\Temp\\Sub");
        fs.AddFolder("C:\\temp2");
        fs.AddFolder("C:\\A\\B");
        fs.AddFile("C:\\Temp\\report.txt", kOld);
        fs.AddFolder("C:\\Program Files\\x")->parent->shortName = "PROGRA~1";
        fs.AddFolder("Z:\\Logs");
        m_oldExit = AfxSetExitHandler(&ThrowExit);
        while (AfxGetWaitCursorDepth() > 0) EndWaitCursor();  // a simulated exit left it on
    }
    void TearDown() override { AfxSetExitHandler(m_oldExit); }

    // Creates the window (not shown) as start-up would, with an optional start path.
    std::unique_ptr<CVarnokDlg> Open(const char* path = nullptr, bool quiet = false) {
        auto dlg = std::make_unique<CVarnokDlg>(nullptr, &fs);
        dlg->m_strDays = "120";
        dlg->m_strFileType = "*.tmp";
        dlg->m_bPrompt = TRUE;
        dlg->m_bQuiet = quiet;
        if (path) {
            dlg->m_strPath = path;
            dlg->m_bPathGiven = true;
        }
        dlg->Create();
        return dlg;
    }
    HTREEITEM Child(CVarnokDlg& d, HTREEITEM parent, const char* text) {
        for (HTREEITEM h = d.m_pTree->GetChildItem(parent); h; h = d.m_pTree->GetNextSiblingItem(h))
            if (d.m_pTree->GetItemText(h) == text) return h;
        return nullptr;
    }
    std::vector<std::string> Children(CVarnokDlg& d, HTREEITEM parent) {
        std::vector<std::string> v;
        for (HTREEITEM h = d.m_pTree->GetChildItem(parent); h; h = d.m_pTree->GetNextSiblingItem(h))
            v.push_back(d.m_pTree->GetItemText(h).str());
        return v;
    }

    MemoryFileSystem fs;
    ScriptedPresenter boxes;
    ExitHandler m_oldExit = nullptr;
};

TEST_F(TreeTest, InitTreeAndReadingFolders) {
    auto dlg = Open();
    CTreeCtrl& tree = *dlg->m_pTree;
    EXPECT_EQ(Children(*dlg, nullptr), (std::vector<std::string>{"Local Drives", "Network Drives"}));
    EXPECT_EQ(Children(*dlg, dlg->m_hLocalDrives), (std::vector<std::string>{"C:\\", "D:\\"}));
    EXPECT_EQ(Children(*dlg, dlg->m_hNetworkDrives), (std::vector<std::string>{"Z:\\"}));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_FALSE(tree.IsExpanded(dlg->m_hLocalDrives));

    HTREEITEM c = Child(*dlg, dlg->m_hLocalDrives, "C:\\");
    EXPECT_FALSE(tree.ItemHasChildren(c));  // nothing read ahead
    tree.SelectItem(c);
    LRESULT result = 1;
    dlg->OnDblclkFolders(nullptr, &result);
    EXPECT_EQ(result, 0);
    // Sorted without regard to case, files and "." ".." left out.
    EXPECT_EQ(Children(*dlg, c), (std::vector<std::string>{"A", "Program Files", "Temp", "temp2"}));

    // An item with children is not read again; F5 reads it afresh.
    fs.AddFolder("C:\\Later");
    dlg->OnDblclkFolders(nullptr, &result);
    EXPECT_EQ(Children(*dlg, c).size(), 4u);
    HTREEITEM temp = Child(*dlg, c, "Temp");
    tree.SelectItem(temp);
    dlg->OnDblclkFolders(nullptr, &result);
    EXPECT_TRUE(tree.ItemHasChildren(temp));
    tree.SelectItem(c);
    MSG f5{nullptr, WM_KEYDOWN, VK_F5, 0};
    EXPECT_FALSE(dlg->PreTranslateMessage(&f5));  // not consumed
    EXPECT_EQ(Children(*dlg, c), (std::vector<std::string>{"A", "Later", "Program Files", "Temp", "temp2"}));
    EXPECT_FALSE(tree.ItemHasChildren(Child(*dlg, c, "Temp")));  // read below it is discarded

    // F5 on a root group: refused with a message, nothing changes.
    tree.SelectItem(dlg->m_hLocalDrives);
    dlg->PreTranslateMessage(&f5);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Cannot refresh root");
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONERROR | MB_OK);
    EXPECT_EQ(Children(*dlg, dlg->m_hLocalDrives).size(), 2u);
}

TEST_F(TreeTest, ItemPaths) {
    auto dlg = Open("C:\\Temp\\Sub");
    CTreeCtrl& tree = *dlg->m_pTree;
    HTREEITEM c = Child(*dlg, dlg->m_hLocalDrives, "C:\\");
    HTREEITEM temp = Child(*dlg, c, "Temp");
    const std::pair<HTREEITEM, const char*> rows[] = {
        {c, "C:\\"},
        {temp, "C:\\Temp\\"},
        {Child(*dlg, temp, "Sub"), "C:\\Temp\\Sub\\"},
    };
    for (auto [item, path] : rows) EXPECT_EQ(dlg->GetItemPath(item).str(), path);
    HTREEITEM z = Child(*dlg, dlg->m_hNetworkDrives, "Z:\\");
    tree.SelectItem(z);
    LRESULT r;
    dlg->OnDblclkFolders(nullptr, &r);
    EXPECT_EQ(dlg->GetItemPath(Child(*dlg, z, "Logs")).str(), "Z:\\Logs\\");
}

TEST_F(TreeTest, StartFolderWorkedExamples) {
    struct Row {
        const char* path;
        const char* selected;  // item path of the selection, "" for none
        const char* fileType;
        const char* memberPath;
        bool notFound;
    } rows[] = {
        {"C:\\Temp", "C:\\Temp\\", "*.tmp", "C:\\Temp", false},
        {"c:\\temp\\*.log", "C:\\Temp\\", "*.log", "c:\\temp\\", false},
        {"C:\\PROGRA~1\\x", "C:\\Program Files\\x\\", "*.tmp", "C:\\PROGRA~1\\x", false},
        {"C:\\", "C:\\", "*.tmp", "C:\\", false},
        {"C:\\*.log", "C:\\", "*.log", "C:\\", false},
        {"Z:\\Logs", "Z:\\Logs\\", "*.tmp", "Z:\\Logs", false},
        {"C:\\Temp\\report.txt", "", "*.tmp", "C:\\Temp\\report.txt", true},  // a file is no start folder
        {"C:\\.\\Temp", "C:\\Temp\\", "*.tmp", "C:\\.\\Temp", false},
        {"C:\\Temp\\..", "C:\\", "*.tmp", "C:\\Temp\\..", false},  // ".." as the file system has it
        {"C:\\NoSuch", "", "*.tmp", "C:\\NoSuch", true},
        {"C:\\NoSuch\\*.tmp", "", "*.tmp", "C:\\NoSuch\\*.tmp", true},
        {"c:\\temp\\file?.txt", "C:\\Temp\\", "file?.txt", "c:\\temp\\", false},  // "?" makes a file type
        {"C:\\Temp\\a&b", "", "*.tmp", "C:\\Temp\\a&b", true},                    // "&" does not
        {"Temp", "", "*.tmp", "Temp", true},  // relative: exists, but names no drive
        {"C:\\A\\B", "C:\\A\\B\\", "*.tmp", "C:\\A\\B", false},
        {"c:\\TEMP\\sub\\", "C:\\Temp\\Sub\\", "*.tmp", "c:\\TEMP\\sub\\", false},
        {"C:\\\\Temp", "C:\\Temp\\", "*.tmp", "C:\\\\Temp", false},  // resolved first
        {"", "", "*.tmp", "", true},  // an empty path is no folder, never the current one
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        boxes.boxes.clear();
        auto dlg = Open(r.path);
        HTREEITEM sel = dlg->m_pTree->GetSelectedItem();
        EXPECT_EQ(sel ? dlg->GetItemPath(sel).str() : "", r.selected);
        if (sel) {
            EXPECT_TRUE(dlg->m_pTree->IsExpanded(sel));
        }
        EXPECT_EQ(dlg->m_strFileType.str(), r.fileType);
        EXPECT_EQ(dlg->GetDlgItemText(IDC_FILETYPE).str(), r.fileType);
        EXPECT_EQ(dlg->m_strPath.str(), r.memberPath);
        EXPECT_EQ(dlg->GetDlgItemText(IDC_STATUS).str(), r.path);  // as typed
        if (r.notFound) {
            ASSERT_EQ(boxes.boxes.size(), 1u);
            EXPECT_EQ(boxes.boxes[0].text, "Folder not found!");
            EXPECT_EQ(boxes.boxes[0].type, MB_ICONERROR | MB_OK);
        } else {
            EXPECT_TRUE(boxes.boxes.empty());
        }
    }
}

TEST_F(TreeTest, QuietRunDeletesThenEndsWithOne) {
    fs.AddFile("C:\\Temp\\old.tmp", kOld);
    fs.AddFile("C:\\Temp\\old.log", kOld);
    try {
        auto dlg = std::make_unique<CVarnokDlg>(nullptr, &fs);
        dlg->m_strDays = "120";
        dlg->m_strFileType = "*.tmp";
        dlg->m_strPath = "C:\\Temp\\*.log";
        dlg->m_bPathGiven = dlg->m_bQuiet = true;
        dlg->m_bPrompt = TRUE;
        dlg->Create();
        ADD_FAILURE() << "no exit";
    } catch (const ProcessExit& e) {
        EXPECT_EQ(e.code, 1);
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);  // no confirmation; the question about the file, answered No
    EXPECT_EQ(boxes.boxes[0].text.rfind("Are you sure you want to delete\nfile C:\\Temp\\old.log,", 0), 0u);
    EXPECT_TRUE(fs.Has("C:\\Temp\\old.log"));

    // A missing start folder in a quiet run: no message, no sweep, no exit.
    boxes.boxes.clear();
    auto dlg = Open("C:\\NoSuch\\*.tmp", true);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(TreeTest, DeleteCommand) {
    fs.AddFile("C:\\Temp\\a.tmp", kOld);
    fs.AddFile("C:\\Temp\\b.bak", kOld);
    fs.AddFolder("C:\\Temp\\Sub")->lastWrite = kOld;
    auto dlg = Open();
    CTreeCtrl& tree = *dlg->m_pTree;

    // Nothing or a root group selected: refused, nothing read back, no wait cursor.
    dlg->SetDlgItemText(IDC_FILETYPE, "*.x");
    for (HTREEITEM sel : {HTREEITEM(nullptr), dlg->m_hLocalDrives, dlg->m_hNetworkDrives}) {
        tree.SelectItem(sel);
        boxes.boxes.clear();
        dlg->OnDelete();
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "Cannot continue, please select a valid disk/directory");
        EXPECT_EQ(boxes.boxes[0].type, MB_ICONERROR | MB_OK);
        EXPECT_EQ(boxes.boxes[0].waitDepth, 0);
        EXPECT_EQ(dlg->m_strFileType.str(), "*.tmp");
    }

    // No: nothing changes but the members read back; the wait cursor ends.
    HTREEITEM c = Child(*dlg, dlg->m_hLocalDrives, "C:\\");
    tree.SelectItem(c);
    LRESULT r;
    dlg->OnDblclkFolders(nullptr, &r);
    HTREEITEM temp = Child(*dlg, c, "Temp");
    tree.SelectItem(temp);
    dlg->OnDblclkFolders(nullptr, &r);
    dlg->SetDlgItemText(IDC_FILETYPE, "*.tmp,*.bak");
    dlg->SetDlgItemText(IDC_STATUS, "before");
    boxes.boxes.clear();
    boxes.Answer({IDNO});
    dlg->OnDelete();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Are you sure you wish to delete files older than Thu Dec 07 10:00:00 2000\n");
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONQUESTION | MB_YESNO);
    EXPECT_EQ(boxes.boxes[0].waitDepth, 1);
    EXPECT_EQ(AfxGetWaitCursorDepth(), 0);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_STATUS).str(), "before");
    EXPECT_TRUE(fs.Has("C:\\Temp\\a.tmp"));

    // Yes: the status line, the sweep with the flags, the refresh of the opened item.
    dlg->SetDlgItemText(IDC_DAYS, "7d");
    boxes.boxes.clear();
    boxes.Answer({IDYES});
    boxes.SetFallback(IDYES);
    dlg->GetWindow()->SetCheck(IDC_DELETEDIRS, 1);
    dlg->OnDelete();
    EXPECT_EQ(boxes.boxes[0].text, "Are you sure you wish to delete files older than Fri Mar 30 10:00:00 2001\n");
    EXPECT_EQ(dlg->GetDlgItemText(IDC_STATUS).str(), "C:\\Temp\\*.tmp,*.bak");
    EXPECT_FALSE(fs.Has("C:\\Temp\\a.tmp"));
    EXPECT_FALSE(fs.Has("C:\\Temp\\b.bak"));
    EXPECT_FALSE(fs.Has("C:\\Temp\\Sub"));
    EXPECT_TRUE(Children(*dlg, temp).empty());  // the removed folder left the tree
    for (auto& b : boxes.boxes) EXPECT_EQ(b.waitDepth, 1);

    // An age over four characters (from the command line): refused, nothing swept.
    fs.AddFile("C:\\Temp\\c.tmp", kOld);
    dlg->SetDlgItemText(IDC_DAYS, "12345");
    boxes.boxes.clear();
    dlg->OnDelete();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Please enter no more than 4 characters.");
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONEXCLAMATION);
    EXPECT_TRUE(fs.Has("C:\\Temp\\c.tmp"));
    EXPECT_EQ(AfxGetWaitCursorDepth(), 0);
}

}  // namespace
