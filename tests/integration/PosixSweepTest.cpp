// The sweep on real folders: links, read-only files, odd names, deep trees, a race.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "tests/support/ScriptedPresenter.h"
#include "tests/support/TempDir.h"
#include "ui/VarnokDlg.h"

namespace {

const std::time_t kOld = 946684800;  // 2000-01-01

class PosixSweep : public testing::Test {
protected:
    void SetUp() override {
        dlg.m_strFileType = "*.tmp";
        dlg.SplitFileType();
    }
    bool Sweep(const std::string& folder, bool subDirs, bool deleteDirs, bool prompt = false) {
        return dlg.SweepFolder((folder + "/*.*").c_str(), 30, prompt, subDirs, false, deleteDirs);
    }
    std::unique_ptr<FileSystem> fs = CreatePlatformFileSystem();
    CVarnokDlg dlg{nullptr, fs.get()};
    ScriptedPresenter boxes;
    TempDir tmp;
};

TEST_F(PosixSweep, LinksAreEntriesOfTheirOwnAndNeverFollowed) {
    TempDir outside;
    outside.File("keep.tmp", kOld);
    outside.File("sub/keep.tmp", kOld);
    tmp.File("start/a.tmp", kOld);
    ASSERT_EQ(::symlink(outside.path().c_str(), (tmp / "start/dirlink").c_str()), 0);
    ASSERT_EQ(::symlink((outside / "keep.tmp").c_str(), (tmp / "start/old.tmp").c_str()), 0);
    ASSERT_EQ(::symlink(outside.path().c_str(), (tmp / "start/dirlink.tmp").c_str()), 0);
    tmp.SetTimes("start/old.tmp", kOld);
    tmp.SetTimes("start/dirlink.tmp", kOld);
    tmp.SetTimes("start/dirlink", kOld);
    dlg.m_bReadOnly = TRUE;
    ::chmod((outside / "keep.tmp").c_str(), 0444);

    Sweep(tmp / "start", true, true);

    EXPECT_FALSE(tmp.Exists("start/a.tmp"));
    EXPECT_FALSE(tmp.Exists("start/old.tmp"));      // the old link itself goes ...
    EXPECT_FALSE(tmp.Exists("start/dirlink.tmp"));  // ... a link to a folder too
    EXPECT_TRUE(tmp.Exists("start/dirlink"));       // does not match: stays
    EXPECT_TRUE(outside.Exists("keep.tmp"));        // ... and nothing it pointed at
    EXPECT_TRUE(outside.Exists("sub/keep.tmp"));
    struct stat st;
    ASSERT_EQ(::stat((outside / "keep.tmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);  // not even its permissions changed
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PosixSweep, ReadOnlyFilesNeedTheFlag) {
    tmp.File("ro.tmp", kOld);
    ::chmod((tmp / "ro.tmp").c_str(), 0444);
    tmp.SetTimes("ro.tmp", kOld);
    Sweep(tmp.path(), false, false);
    EXPECT_TRUE(tmp.Exists("ro.tmp"));
    dlg.m_bReadOnly = TRUE;
    Sweep(tmp.path(), false, false);
    EXPECT_FALSE(tmp.Exists("ro.tmp"));
}

TEST_F(PosixSweep, OddNamesArePlainBytes) {
    const std::vector<std::string> names = {"new\nline.tmp", "bad\xff\xfe.tmp", "-rf.tmp", "*.tmp",
                                            "what?.tmp",     "back\\slash.tmp", " .tmp"};
    for (auto& n : names) tmp.File("odd/" + n, kOld);
    tmp.File("odd/-keep.log", kOld);
    boxes.SetFallback(IDYES);
    Sweep(tmp / "odd", false, false, true);
    for (auto& n : names) EXPECT_FALSE(tmp.Exists("odd/" + n)) << n;
    EXPECT_TRUE(tmp.Exists("odd/-keep.log"));
    ASSERT_EQ(boxes.boxes.size(), names.size());
    bool sawNewline = false;
    for (auto& b : boxes.boxes) sawNewline |= b.text.find("new\nline.tmp,\n") != std::string::npos;
    EXPECT_TRUE(sawNewline);
}

TEST_F(PosixSweep, DeepTreeIsSweptAndRemoved) {
    // 10,000 levels: far longer than PATH_MAX, deeper than a call stack should go.
    const int depth = 10000;
    std::vector<int> fds{::open(tmp.path().c_str(), O_RDONLY | O_DIRECTORY)};
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(::mkdirat(fds.back(), "d", 0700), 0);
        fds.push_back(::openat(fds.back(), "d", O_RDONLY | O_DIRECTORY));
        ASSERT_GE(fds.back(), 0);
    }
    const struct timespec old[2] = {{kOld, 0}, {kOld, 0}};
    int leaf = ::openat(fds.back(), "leaf.tmp", O_WRONLY | O_CREAT, 0600);
    ::futimens(leaf, old);
    ::close(leaf);
    for (size_t i = fds.size() - 1; i >= 1; --i) ::futimens(fds[i], old);  // deepest first
    for (int f : fds) ::close(f);

    Sweep(tmp.path(), true, true);
    EXPECT_FALSE(tmp.Exists("d"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PosixSweep, RaceWithASwappedInLinkNeverReachesOutside) {
    TempDir outside;
    for (int i = 0; i < 20; ++i) outside.File("victim" + std::to_string(i) + ".tmp", kOld);
    outside.File("deeper/victim.tmp", kOld);
    std::atomic<bool> stop{false};
    const std::string sub = tmp / "sub", parked = tmp / "parked";
    std::thread swapper([&] {
        // Swap the real sub-folder and a link to the outside back and forth.
        while (!stop) {
            std::filesystem::create_directories(sub);
            for (int i = 0; i < 5; ++i) std::ofstream(sub + "/f" + std::to_string(i) + ".tmp") << "x";
            ::rename(sub.c_str(), parked.c_str());
            ::symlink(outside.path().c_str(), sub.c_str());
            ::unlink(sub.c_str());
            std::error_code ec;
            std::filesystem::remove_all(parked, ec);
        }
    });
    dlg.m_strFileType = "*";
    dlg.SplitFileType();
    for (int round = 0; round < 300; ++round)
        dlg.SweepFolder((tmp.path() + "/*.*").c_str(), -1, false, true, false, true);
    stop = true;
    swapper.join();
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(outside.Exists("victim" + std::to_string(i) + ".tmp"));
    EXPECT_TRUE(outside.Exists("deeper/victim.tmp"));
}

}  // namespace

namespace {

// The read-only state that decides a deletion is the one at the moment of deletion: a file
// made read-only while its question is open stays without the read-only option, and a
// folder made read-only meanwhile stays too.
TEST_F(PosixSweep, ReadOnlyMadeWhileTheQuestionIsOpenCounts) {
    tmp.File("q/late.tmp", kOld);
    tmp.Folder("q/sub", kOld);
    boxes.SetFallback(IDYES);
    boxes.whileShown = [&](const std::string& text) {
        if (text.find("late.tmp") != std::string::npos) ::chmod((tmp / "q/late.tmp").c_str(), 0444);
        if (text.find("directory") != std::string::npos) ::chmod((tmp / "q/sub").c_str(), 0555);
    };
    Sweep(tmp / "q", false, true, true);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_TRUE(tmp.Exists("q/late.tmp"));
    EXPECT_TRUE(tmp.Exists("q/sub"));

    // With the option, the file goes; its grant is never left behind on a failure.
    dlg.m_bReadOnly = TRUE;
    boxes.whileShown = nullptr;
    Sweep(tmp / "q", false, true, true);
    EXPECT_FALSE(tmp.Exists("q/late.tmp"));
    EXPECT_TRUE(tmp.Exists("q/sub"));  // the option resets files only
}

}  // namespace

namespace {

// Without questions the sweep runs on several threads: it must leave exactly what the
// sweep on one thread leaves, messages included.
TEST_F(PosixSweep, ThreadsChangeNothingButTheTime) {
    auto survivors = [](const std::string& root) {
        std::vector<std::string> v;
        for (auto it = std::filesystem::recursive_directory_iterator(root);
             it != std::filesystem::recursive_directory_iterator(); ++it)
            v.push_back(it->path().string().substr(root.size()));
        std::sort(v.begin(), v.end());
        return v;
    };
    std::mt19937 random(11);
    const std::time_t now = std::time(nullptr);
    for (int tree = 0; tree < 3; ++tree) {
        TempDir a;
        for (int i = 0; i < 400; ++i) {
            std::string path;
            for (int depth = static_cast<int>(random() % 5); depth > 0; --depth)
                path += "d" + std::to_string(random() % 4) + "/";
            const std::string name = "f" + std::to_string(i) + (random() % 2 ? ".tmp" : ".log");
            a.File(path + name, random() % 3 ? kOld : now);
            if (random() % 7 == 0) a.Folder(path + "e" + std::to_string(i), kOld);  // old and empty
        }
        // Old folders: they go once their contents are gone.
        for (auto it = std::filesystem::recursive_directory_iterator(a.path());
             it != std::filesystem::recursive_directory_iterator(); ++it)
            if (it->is_directory() && random() % 2) a.SetTimes(it->path().string().substr(a.path().size() + 1), kOld);
        std::filesystem::create_directory(a / "locked");
        ::chmod((a / "locked").c_str(), 0);
        TempDir b;
        std::filesystem::copy(
            a.path(), b.path(),
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        for (auto it = std::filesystem::recursive_directory_iterator(a.path());
             it != std::filesystem::recursive_directory_iterator(); ++it) {
            const std::string rel = it->path().string().substr(a.path().size() + 1);
            struct stat st;
            ::lstat(it->path().c_str(), &st);
            b.SetTimes(rel, st.st_mtime, st.st_atime);
        }
        ::chmod((b / "locked").c_str(), 0);

        std::vector<std::vector<std::string>> results, messages;
        for (const char* threads : {"1", "4"}) {
            ::setenv("VARNOK_THREADS", threads, 1);
            boxes.boxes.clear();
            Sweep(threads[0] == '1' ? a.path() : b.path(), true, true);
            std::vector<std::string> texts;
            for (auto& box : boxes.boxes)
                texts.push_back(
                    box.text.substr(box.text.find(threads[0] == '1' ? a.path() : b.path()) + a.path().size()));
            std::sort(texts.begin(), texts.end());
            messages.push_back(texts);
            ::chmod(((threads[0] == '1' ? a : b) / "locked").c_str(), 0700);
            results.push_back(survivors(threads[0] == '1' ? a.path() : b.path()));
        }
        ::unsetenv("VARNOK_THREADS");
        EXPECT_EQ(results[0], results[1]);
        EXPECT_EQ(messages[0], messages[1]);
        EXPECT_EQ(messages[0].size(), ::geteuid() == 0 ? 0u : 1u);  // root lists even a folder with no permissions
    }
}

}  // namespace
