// The folder sweep on the in-memory file system with Windows rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/VarnokDlg.h"

namespace {

constexpr std::int64_t kDay = 86400;
const CTime kNow(975664800);               // Fri Dec 01 10:00:00 2000 UTC
const CTime kOld(975664800 - 200 * kDay);  // Mon May 15 10:00:00 2000
const CTime kNew(975664800 - 10 * kDay);

class SweepTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC0", 1);
        tzset();
        fs.AddDrive('C');
        fs.SetNow(kNow);
        dlg.m_strFileType = "*.tmp";
        dlg.SplitFileType();
    }
    bool Sweep(const char* pattern, bool prompt, bool subDirs, bool lastAccess, bool deleteDirs, int days = 120) {
        return dlg.SweepFolder(pattern, days, prompt, subDirs, lastAccess, deleteDirs);
    }
    MemoryFileSystem fs;
    CVarnokDlg dlg{nullptr, &fs};
    ScriptedPresenter boxes;
};

TEST_F(SweepTest, PromptsAreExactAndAnswersActOnTheirEntryOnly) {
    fs.AddFile("C:\\Temp\\a.tmp", kOld);
    fs.AddFile("C:\\Temp\\b.tmp", kOld)->lastAccess = CTime(kOld.GetTime() + kDay);
    fs.AddFile("C:\\Temp\\c.log", kOld);  // does not match
    fs.AddFile("C:\\Temp\\d.tmp", kNew);  // not old
    fs.AddFolder("C:\\Temp\\Empty", kOld);
    boxes.Answer({IDNO, IDYES, IDYES});
    EXPECT_FALSE(Sweep("C:\\Temp\\*.*", true, false, true, true));

    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Are you sure you want to delete\nfile C:\\Temp\\a.tmp,\nlast modified Mon May 15 10:00:00 2000\n"
              "last accessed Mon May 15 10:00:00 2000\n");
    EXPECT_EQ(boxes.boxes[1].text,
              "Are you sure you want to delete\nfile C:\\Temp\\b.tmp,\nlast modified Mon May 15 10:00:00 2000\n"
              "last accessed Tue May 16 10:00:00 2000\n");
    EXPECT_EQ(boxes.boxes[2].text,
              "Are you sure you want to delete\ndirectory C:\\Temp\\Empty,\nlast modified Mon May 15 10:00:00 2000\n"
              "last accessed Mon May 15 10:00:00 2000\n");
    for (auto& b : boxes.boxes) EXPECT_EQ(b.type, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_TRUE(fs.Has("C:\\Temp\\a.tmp"));
    EXPECT_FALSE(fs.Has("C:\\Temp\\b.tmp"));
    EXPECT_TRUE(fs.Has("C:\\Temp\\c.log"));
    EXPECT_TRUE(fs.Has("C:\\Temp\\d.tmp"));
    EXPECT_FALSE(fs.Has("C:\\Temp\\Empty"));
}

TEST_F(SweepTest, CancelInANestedFolderEndsTheWholeSweep) {
    fs.AddFile("C:\\T\\A\\1.tmp", kOld);
    fs.AddFile("C:\\T\\A\\B\\2.tmp", kOld);
    fs.AddFile("C:\\T\\A\\B\\3.tmp", kOld);
    fs.AddFile("C:\\T\\A\\4.tmp", kOld);
    fs.AddFile("C:\\T\\5.tmp", kOld);
    fs.Find("C:\\T\\A")->lastWrite = kOld;
    fs.Find("C:\\T\\A\\B")->lastWrite = kOld;
    boxes.Answer({IDYES, IDCANCEL});
    EXPECT_TRUE(Sweep("C:\\T\\*.*", true, true, false, true));
    EXPECT_EQ(boxes.boxes.size(), 2u);  // nothing asked after the Cancel, no folder offered
    EXPECT_FALSE(fs.Has("C:\\T\\A\\1.tmp"));
    for (const char* p : {"C:\\T\\A\\B\\2.tmp", "C:\\T\\A\\B\\3.tmp", "C:\\T\\A\\4.tmp", "C:\\T\\5.tmp", "C:\\T\\A\\B"})
        EXPECT_TRUE(fs.Has(p)) << p;
}

TEST_F(SweepTest, ReadOnlyFiles) {
    fs.AddFile("C:\\R\\ro.tmp", kOld)->readOnly = true;
    // Without the flag the file is offered, and Yes leaves it silently.
    boxes.Answer({IDYES});
    Sweep("C:\\R\\*.*", true, false, false, false);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(fs.Has("C:\\R\\ro.tmp"));
    EXPECT_TRUE(fs.Log().empty());

    // With it, the attributes are reset and the file goes.
    dlg.m_bReadOnly = TRUE;
    Sweep("C:\\R\\*.*", false, false, false, false);
    EXPECT_FALSE(fs.Has("C:\\R\\ro.tmp"));
    EXPECT_EQ(fs.Log(), (std::vector<std::string>{"attrib C:\\R\\ro.tmp", "delete C:\\R\\ro.tmp"}));

    // A deletion that fails after the reset puts the attributes back.
    auto* busy = fs.AddFile("C:\\R\\busy.tmp", kOld);
    busy->readOnly = busy->hidden = busy->undeletable = true;
    Sweep("C:\\R\\*.*", false, false, false, false);
    EXPECT_TRUE(busy->readOnly);
    EXPECT_TRUE(busy->hidden);
    EXPECT_EQ(fs.Log().back(), "restore C:\\R\\busy.tmp");
}

TEST_F(SweepTest, FolderRemovalWithAndWithoutSubFolders) {
    auto layout = [&] {
        fs.AddFile("C:\\D\\Full\\old.tmp", kOld);
        fs.AddFile("C:\\D\\Keep\\other.log", kOld);  // a non-matching file keeps its folder
        fs.AddFolder("C:\\D\\Empty\\Inner", kOld);
        fs.AddFolder("C:\\D\\Young", kNew);
        for (const char* f : {"C:\\D\\Full", "C:\\D\\Keep", "C:\\D\\Empty"}) fs.Find(f)->lastWrite = kOld;
    };
    layout();
    // Folders only: already-empty old sub-folders go, nothing below them is looked at.
    Sweep("C:\\D\\*.*", false, false, false, true);
    EXPECT_TRUE(fs.Has("C:\\D\\Full\\old.tmp"));
    EXPECT_TRUE(fs.Has("C:\\D\\Empty\\Inner"));
    EXPECT_TRUE(fs.Has("C:\\D\\Young"));

    // With sub-folders: emptied folders go in the same run, judged by their times from before.
    Sweep("C:\\D\\*.*", false, true, false, true);
    EXPECT_FALSE(fs.Has("C:\\D\\Full"));
    EXPECT_FALSE(fs.Has("C:\\D\\Empty"));
    EXPECT_TRUE(fs.Has("C:\\D\\Keep\\other.log"));
    EXPECT_TRUE(fs.Has("C:\\D\\Young"));
    EXPECT_TRUE(boxes.boxes.empty());

    // The file type plays no part for folders: an empty file type still removes them.
    fs.AddFolder("C:\\D\\Later", kOld);
    dlg.m_strFileType = "";
    dlg.SplitFileType();
    Sweep("C:\\D\\*.*", false, true, false, true);
    EXPECT_FALSE(fs.Has("C:\\D\\Later"));
}

TEST_F(SweepTest, UnlistableFoldersAndEmptyDriveRoot) {
    fs.AddDrive('E');
    EXPECT_FALSE(Sweep("E:\\*.*", true, true, false, true));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to locate any files at\nE:\\*.*");
    EXPECT_EQ(boxes.boxes[0].type, MB_ICONERROR | MB_OK);

    // A folder with only "." and "..": no message. A locked sub-folder: a message, then on.
    fs.AddFolder("C:\\Quiet");
    fs.AddFolder("C:\\P\\Locked")->unlistable = true;
    fs.AddFile("C:\\P\\z.tmp", kOld);
    boxes.boxes.clear();
    Sweep("C:\\Quiet\\*.*", true, true, false, true);
    EXPECT_TRUE(boxes.boxes.empty());
    Sweep("C:\\P\\*.*", false, true, false, false);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to locate any files at\nC:\\P\\Locked\\*.*");
    EXPECT_FALSE(fs.Has("C:\\P\\z.tmp"));
}

TEST_F(SweepTest, EntriesWhoseTimesCannotBeReadArePassedOver) {
    fs.AddFile("C:\\U\\secret.tmp", kOld)->timesUnreadable = true;
    fs.AddFolder("C:\\U\\Gone", kOld)->timesUnreadable = true;
    fs.AddFile("C:\\U\\plain.tmp", kOld);
    Sweep("C:\\U\\*.*", false, true, false, true);
    EXPECT_TRUE(fs.Has("C:\\U\\secret.tmp"));
    EXPECT_TRUE(fs.Has("C:\\U\\Gone"));
    EXPECT_FALSE(fs.Has("C:\\U\\plain.tmp"));
}

TEST_F(SweepTest, EachFolderTakesItsOwnCutoff) {
    // The clock moves a day at each reading: the nested folder is judged a day later.
    fs.SetTick(kDay);
    fs.AddFile("C:\\A\\x.tmp", kNow + CTimeSpan(kDay / 2));
    fs.AddFile("C:\\A\\B\\y.tmp", kNow + CTimeSpan(kDay / 2));
    Sweep("C:\\A\\*.*", false, true, false, false, 0);
    EXPECT_TRUE(fs.Has("C:\\A\\x.tmp"));      // cutoff = now: written after it
    EXPECT_FALSE(fs.Has("C:\\A\\B\\y.tmp"));  // cutoff = now + 1 day
    EXPECT_EQ(fs.ClockReads(), 2);
}

TEST_F(SweepTest, CountEntries) {
    fs.AddFile("C:\\N\\a", kOld);
    fs.AddFolder("C:\\N\\b");
    EXPECT_EQ(dlg.CountEntries("C:\\N\\*.*"), 2);
    EXPECT_EQ(dlg.CountEntries("C:\\N\\b\\*.*"), 0);
    EXPECT_EQ(dlg.CountEntries("C:\\Missing\\*.*"), -2);
}

// A chain far deeper than the folders a sweep may hold open: every level is swept and
// removed, with never more than the bound open (plus the one being counted).
TEST_F(SweepTest, DeepChainsKeepOpenFoldersBounded) {
    for (int maxOpen : {4, 7, 64}) {
        SCOPED_TRACE(maxOpen);
        fs.SetMaxOpenFolders(maxOpen);
        std::string path = "C:\\Deep";
        for (int i = 0; i < 300; ++i) {
            path += "\\d";
            fs.AddFile(path + "\\x.tmp", kOld);
            if (i % 50 == 0) fs.AddFile(path + "\\keep.log", kOld);
        }
        for (std::string p = path; p != "C:\\Deep"; p = p.substr(0, p.rfind('\\'))) fs.Find(p)->lastWrite = kOld;
        Sweep("C:\\Deep\\*.*", false, true, false, true);
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_LE(fs.PeakOpenFolders(), maxOpen + 2);
        EXPECT_EQ(fs.OpenFolders(), 0);
        // What stays is the chain down to the deepest folder that holds a .log.
        int tmpLeft = 0, logsLeft = 0, depth = 0;
        for (auto* n = fs.Find("C:\\Deep"); n && !n->children.empty();) {
            MemoryFileSystem::Node* next = nullptr;
            for (auto& c : n->children) {
                tmpLeft += c->name == "x.tmp";
                logsLeft += c->name == "keep.log";
                if (c->directory) next = c.get();
            }
            depth += next != nullptr;
            n = next;
        }
        EXPECT_EQ(tmpLeft, 0);
        EXPECT_EQ(logsLeft, 6);
        EXPECT_EQ(depth, 251);
        fs.Find("C:\\Deep")->children.clear();
    }
}

// A folder that was closed to save descriptors and, meanwhile, swapped for another by
// name is passed over with a message: nothing in the new one is touched.
TEST_F(SweepTest, AFolderSwappedWhileClosedIsPassedOver) {
    fs.SetMaxOpenFolders(4);
    std::string path = "C:\\S";
    for (int i = 0; i < 12; ++i) path += "\\d" + std::to_string(i);
    fs.AddFile(path + "\\deepest.tmp", kOld);
    fs.AddFile("C:\\S\\d0\\d1\\late.tmp", kOld);  // listed after d2: swept on the way back up
    boxes.Answer({IDYES});
    std::vector<std::unique_ptr<MemoryFileSystem::Node>> parked;  // the old d1, kept alive
    boxes.whileShown = [&](const std::string&) {
        // While the deepest question is open, d1 is replaced by another folder of that name.
        auto& children = fs.Find("C:\\S\\d0")->children;
        parked = std::move(children);
        children.clear();
        fs.AddFile("C:\\S\\d0\\d1\\late.tmp", kOld);
        fs.AddFile("C:\\S\\d0\\d1\\other.tmp", kOld);
        boxes.whileShown = nullptr;
    };
    dlg.m_strFileType = "*.tmp";
    dlg.SplitFileType();
    Sweep("C:\\S\\*.*", true, true, false, false);
    ASSERT_GE(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "Unable to locate any files at\nC:\\S\\d0\\d1\\*.*");
    EXPECT_TRUE(fs.Has("C:\\S\\d0\\d1\\late.tmp"));
    EXPECT_TRUE(fs.Has("C:\\S\\d0\\d1\\other.tmp"));
    EXPECT_EQ(boxes.boxes.size(), 2u);  // nothing more asked below the swapped folder
}

// A mounted volume below the swept folder is an entry of its own: never entered nor
// removed, whatever its age.
TEST_F(SweepTest, MountedVolumesAreNeverEnteredNorRemoved) {
    fs.AddFolder("C:\\M\\Vol", kOld)->mountPoint = true;
    fs.AddFile("C:\\M\\Vol\\inner.tmp", kOld);
    fs.AddFolder("C:\\M\\EmptyVol", kOld)->mountPoint = true;
    Sweep("C:\\M\\*.*", false, true, false, true);
    EXPECT_TRUE(fs.Has("C:\\M\\Vol\\inner.tmp"));
    EXPECT_TRUE(fs.Has("C:\\M\\EmptyVol"));
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
