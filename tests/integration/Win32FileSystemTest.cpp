// The sweep, the tree and the start folder on the real Win32 file system, in a temporary
// folder (under Wine: inside the Wine prefix's drive C, never a tree holding Unix links).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "framework/CWinApp.h"
#include "framework/WaitCursor.h"
#include "tests/support/ScriptedPresenter.h"
#include "tests/support/win32/WinTempDir.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

namespace {

const std::int64_t kOld = 946684800;  // 2000-01-01 00:00:00 UTC
// Names outside every ANSI code page at once: Greek, Cyrillic, Japanese, an emoji.
const std::string kGreek = "\xCE\xA9mega";                 // Ωmega
const std::string kCyrillic = "\xD0\x94\xD0\xBE\xD0\xBA";  // Док
const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
const std::string kEmoji = "\xF0\x9F\x97\x91";             // a waste basket, outside the BMP

struct ProcessExit {
    int code;
};
[[noreturn]] void ThrowExit(int code) { throw ProcessExit{code}; }

class Win32FileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        m_oldExit = AfxSetExitHandler(&ThrowExit);
        while (AfxGetWaitCursorDepth() > 0) EndWaitCursor();
        dlg.m_strFileType = "*.tmp";
        dlg.SplitFileType();
    }
    void TearDown() override { AfxSetExitHandler(m_oldExit); }

    bool Sweep(const std::string& folder, bool subDirs, bool deleteDirs, int days = 30) {
        return dlg.SweepFolder((folder + "\\*.*").c_str(), days, false, subDirs, false, deleteDirs);
    }
    // The main window created as start-up creates it (not shown), with a start path.
    std::unique_ptr<CVarnokDlg> Open(const std::string& path) {
        auto d = std::make_unique<CVarnokDlg>(nullptr, fs.get());
        d->m_strDays = "120";
        d->m_strFileType = "*.tmp";
        d->m_strPath = path.c_str();
        d->m_bPathGiven = true;
        d->Create();
        return d;
    }
    std::string Selected(CVarnokDlg& d) {
        HTREEITEM sel = d.m_pTree->GetSelectedItem();
        return sel ? d.GetItemPath(sel).str() : std::string();
    }

    std::unique_ptr<FileSystem> fs = CreatePlatformFileSystem();
    CVarnokDlg dlg{nullptr, fs.get()};
    ScriptedPresenter boxes;
    WinTempDir tmp;
    ExitHandler m_oldExit = nullptr;
};

TEST_F(Win32FileSystemTest, SweepKeepsNamesAsBytesAndFollowsTheRules) {
    const std::int64_t now = fs->GetCurrentTime().GetTime();
    tmp.File("a.tmp", kOld);
    tmp.File("new.tmp", now);
    tmp.File("old.log", kOld);
    tmp.File(kGreek + "-" + kJapanese + ".tmp", kOld);
    tmp.File(kEmoji + ".log", kOld);
    tmp.File(kCyrillic + "\\deep\\b.tmp", kOld);
    tmp.SetTimes(kCyrillic + "\\deep", kOld);
    tmp.SetTimes(kCyrillic, kOld);
    tmp.Folder("Empty", kOld);
    tmp.Folder("Fresh", now);
    tmp.File("ro.tmp", kOld);
    tmp.SetReadOnly("ro.tmp", true);

    // Without the read-only option a read-only file stays, with its attribute.
    EXPECT_FALSE(Sweep(tmp.path(), true, true));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(tmp.Exists("a.tmp"));
    EXPECT_TRUE(tmp.Exists("new.tmp"));
    EXPECT_TRUE(tmp.Exists("old.log"));
    EXPECT_FALSE(tmp.Exists(kGreek + "-" + kJapanese + ".tmp"));
    EXPECT_TRUE(tmp.Exists(kEmoji + ".log"));
    EXPECT_FALSE(tmp.Exists(kCyrillic));  // emptied by the sweep, old: removed
    EXPECT_FALSE(tmp.Exists("Empty"));
    EXPECT_TRUE(tmp.Exists("Fresh"));
    EXPECT_TRUE(tmp.Exists("ro.tmp"));
    EXPECT_TRUE(tmp.IsReadOnly("ro.tmp"));

    // With it, the attributes are reset and the file goes.
    dlg.m_bReadOnly = TRUE;
    Sweep(tmp.path(), false, false);
    EXPECT_FALSE(tmp.Exists("ro.tmp"));

    // A listing gives the names byte for byte: the tree shows the folder as created.
    tmp.Folder(kEmoji + kCyrillic);
    std::unique_ptr<Folder> folder = fs->OpenFolder((tmp.path() + "\\*.*").c_str());
    ASSERT_TRUE(folder);
    std::vector<std::string> names;
    for (FindData e; folder->Next(e);) names.push_back(e.strName.str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "Fresh", "new.tmp", "old.log", kEmoji + ".log",
                                               kEmoji + kCyrillic}));
}

TEST_F(Win32FileSystemTest, TimesAreExactSecondsAndAMissingFolderIsReported) {
    const std::int64_t rows[] = {kOld, kOld + 1, -86400 * 365LL * 20 - 1, 4102444800LL /* 2100 */, 2147483648LL};
    for (std::int64_t t : rows) {
        tmp.File("t.tmp", t, t + 7);
        std::unique_ptr<Folder> folder = fs->OpenFolder((tmp.path() + "\\*.*").c_str());
        ASSERT_TRUE(folder);
        EntryTimes times;
        ASSERT_TRUE(folder->GetTimes("t.tmp", times));
        EXPECT_EQ(times.lastWrite.GetTime(), t);
        EXPECT_EQ(times.lastAccess.GetTime(), t + 7);
    }
    const std::int64_t now = fs->GetCurrentTime().GetTime();
    EXPECT_LE(std::llabs(now - static_cast<std::int64_t>(std::time(nullptr))), 2);

    EXPECT_FALSE(Sweep(tmp / "NoSuch", true, true));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to locate any files at\n" + (tmp / "NoSuch") + "\\*.*");
}

TEST_F(Win32FileSystemTest, StartFolderByLongShortUpperCaseAndRelativePaths) {
    tmp.Folder("Long Folder Name\\Inner Folder");
    tmp.Folder(kGreek);
    const std::string shortName = ShortPathOf(tmp / "Long Folder Name");
    ASSERT_FALSE(shortName.empty());
    // Wine makes hashed short names (LONGF~XY): the short rows below then test a real one.
    if (RunningUnderWine()) {
        EXPECT_NE(shortName, tmp / "Long Folder Name");
    }
    const std::string expected = tmp / "Long Folder Name\\Inner Folder\\";
    std::string upper = expected;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');

    const std::string saved = CurrentFolder();
    ASSERT_TRUE(SetCurrentFolder(tmp.path()));
    struct Row {
        std::string path, selected, fileType;
    } rows[] = {
        {expected, expected, "*.tmp"},
        {upper, expected, "*.tmp"},  // upper-cased compare, drive letter included
        {shortName + "\\Inner Folder", expected, "*.tmp"},
        {ShortPathOf(expected), expected, "*.tmp"},
        {"long folder name\\INNER FOLDER\\*.log", expected, "*.log"},  // relative, made full
        {tmp / kGreek, tmp / kGreek + "\\", "*.tmp"},
        {tmp / "Long Folder Name/Inner Folder", expected, "*.tmp"},  // the system reads "/" as "\"
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        boxes.boxes.clear();
        auto d = Open(r.path);
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(Selected(*d), r.selected);
        EXPECT_EQ(d->m_strFileType.str(), r.fileType);
        EXPECT_EQ(d->GetDlgItemText(IDC_STATUS).str(), r.path);  // as typed
    }
    SetCurrentFolder(saved);

    // A missing folder: the message, nothing selected.
    boxes.boxes.clear();
    auto d = Open(tmp / "NoSuch\\*.tmp");
    EXPECT_EQ(Selected(*d), "");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Folder not found!");
}

TEST_F(Win32FileSystemTest, QuietRunThroughTheDialog) {
    tmp.File("App\\old.tmp", kOld);
    tmp.File("App\\keep.log", kOld);
    try {
        auto d = std::make_unique<CVarnokDlg>(nullptr, fs.get());
        d->m_strDays = "30";
        d->m_strFileType = "*.log";
        d->m_strPath = (tmp / "app\\*.tmp").c_str();
        d->m_bPathGiven = d->m_bQuiet = true;
        d->DoModal();
        ADD_FAILURE() << "no exit";
    } catch (const ProcessExit& e) {
        EXPECT_EQ(e.code, 1);
    }
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(tmp.Exists("App\\old.tmp"));
    EXPECT_TRUE(tmp.Exists("App\\keep.log"));
}

// The system drive's root: the walk starts there, and a root lists no "." or "..". Only
// files of a type nobody else uses are made and swept there, without sub-folders.
TEST_F(Win32FileSystemTest, DriveRootWalkAndSweep) {
    const std::string root = SystemDriveRoot();
    WinTempDir drive(root.substr(0, 2), WinTempDir::kExistingRoot);
    const std::string name = "varnok-" + std::to_string(std::time(nullptr)) + ".vrk-test";
    if (!drive.TryFile(name, kOld)) GTEST_SKIP() << "no right to write in " << root;
    drive.File("new-" + name, fs->GetCurrentTime().GetTime());

    std::unique_ptr<Folder> folder = fs->OpenFolder((root + "*.*").c_str());
    ASSERT_TRUE(folder);
    bool found = false;
    for (FindData e; folder->Next(e);) {
        EXPECT_NE(e.strName.str(), ".");
        EXPECT_NE(e.strName.str(), "..");
        found = found || e.strName.str() == name;
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(fs->IsRemoteDrive(root.c_str()));

    // The drive key is upper-cased; the walk starts right after it.
    std::string lower = root;
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    for (const std::string& path : {root, lower, lower + "*.vrk-test"}) {
        SCOPED_TRACE(path);
        auto d = Open(path);
        EXPECT_EQ(Selected(*d), root);
    }
    EXPECT_TRUE(boxes.boxes.empty());

    dlg.m_strFileType = "*.vrk-test";
    dlg.SplitFileType();
    EXPECT_FALSE(dlg.SweepFolder((root + "*.*").c_str(), 30, false, false, false, false));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(drive.Exists(name));
    EXPECT_TRUE(drive.Exists("new-" + name));
    drive.Remove("new-" + name);
}

// Junctions and links below the start folder are entries of their own. Wine cannot make
// them (CreateSymbolicLinkW reports success and makes nothing), and what Wine shows for a
// Unix link is deleted through to its target: this runs on a real Windows only.
TEST_F(Win32FileSystemTest, LinkToAFolderIsRemovedAsTheLinkOnly) {
    if (RunningUnderWine()) GTEST_SKIP() << "Wine cannot create links or junctions";
    WinTempDir outside;
    outside.File("keep.tmp", kOld);
    tmp.Folder("start");
    if (!MakeFolderLink(tmp / "start\\link.tmp", outside.path()))
        GTEST_SKIP() << "no right to create symbolic links here";
    Sweep(tmp / "start", true, true, -1);  // a negative age: everything is old
    EXPECT_FALSE(tmp.Exists("start\\link.tmp"));
    EXPECT_TRUE(outside.Exists("keep.tmp"));
}

}  // namespace
