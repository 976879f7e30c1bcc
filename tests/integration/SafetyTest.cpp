// Varnok deletes only what the user named: the real binary on real folders, with links
// in the start path, "..", an empty path, ages without a number, a display that is gone,
// names that try to rewrite the terminal, mount points, races, signals and low limits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "tests/support/VarnokProcess.h"

namespace {

namespace fs = std::filesystem;
const std::time_t kOld = 946684800;  // 2000-01-01

bool IsRoot() { return ::geteuid() == 0; }

void Chown(const std::string& path) { ASSERT_EQ(::lchown(path.c_str(), 65534, 65534), 0) << path; }

// R/real/app holds an old and a new .tmp; old .tmp files stand in every folder around it,
// so that a sweep of the wrong folder shows. Links lead into it from elsewhere.
void LayOut(TempDir& r) {
    const std::time_t tomorrow = std::time(nullptr) + 86400;  // new even for the age 0, however slow the run
    r.File("real/app/old.tmp", kOld);
    r.File("real/app/new.tmp", tomorrow);
    r.File("real/keep.tmp", kOld);
    r.File("f1/keep.tmp", kOld);
    r.File("T/keep.tmp", kOld);
    r.File("top.tmp", kOld);
    ASSERT_EQ(::symlink((r / "real").c_str(), (r / "f1/rlink").c_str()), 0);
    ASSERT_EQ(::symlink("../real/app", (r / "f1/applink").c_str()), 0);
    ASSERT_EQ(::symlink("/", (r / "slash").c_str()), 0);
}

struct Row {
    const char* what;
    std::function<std::vector<std::string>(const std::string& r)> args;
    std::vector<std::string> gone, kept;  // relative to R
    int exitCode = 1;
    const char* errHas = "";  // "": standard error stays empty
    std::vector<std::string> env = {};
    const char* cwd = nullptr;  // relative to R
    std::function<void(TempDir&)> setup = nullptr;
    bool asNobody = false;
};

TEST(Safety, OnlyTheNamedFolderIsSwept) {
    const std::string noNumber = "varnok: Please enter an integer.\n";
    const Row rows[] = {
        {"a link in the middle",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-s", "-d", r + "/f1/rlink/app/"};
         },
         {"real/app/old.tmp"},
         {"real/app/new.tmp", "real/keep.tmp", "f1/keep.tmp", "top.tmp"}},
        {"a link at the end",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", r + "/f1/applink"};
         },
         {"real/app/old.tmp"},
         {"f1/keep.tmp", "real/keep.tmp"}},
        {"a link to / in front",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", r + "/slash" + r + "/real/app/*.tmp"};
         },
         {"real/app/old.tmp"},
         {"real/keep.tmp", "top.tmp"}},
        {"..",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", r + "/T/../real/app"};
         },
         {"real/app/old.tmp"},
         {"T/keep.tmp", "top.tmp"}},
        {".. after a link is the target's parent",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", r + "/f1/applink/.."};
         },
         {"real/keep.tmp"},
         {"f1/keep.tmp", "real/app/old.tmp"}},
        {"a missing component",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-s", r + "/real/gone/../app"};
         },
         {},
         {"real/app/old.tmp", "real/keep.tmp", "top.tmp"},
         2,
         "varnok: Folder not found: "},
        {"the empty path",
         [](auto&) {
             return std::vector<std::string>{"-q", "--c", "-s", ""};
         },
         {},
         {"top.tmp", "real/app/old.tmp"},
         2,
         "varnok: Folder not found: \n",
         {},
         "."},
        {"-n 30, the Unix habit",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", r + "/real/app", "-n", "30"};
         },
         {},
         {"real/app/old.tmp"},
         1,
         noNumber.c_str()},
        {"-n:",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-n:", r + "/real/app"};
         },
         {},
         {"real/app/old.tmp"},
         1,
         noNumber.c_str()},
        {"-n:abc",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-n:abc", r + "/real/app"};
         },
         {},
         {"real/app/old.tmp"},
         1,
         noNumber.c_str()},
        {"-n30 reads 0",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-n30", r + "/real/app"};
         },
         {"real/app/old.tmp"},
         {"real/app/new.tmp"}},
        {"a negative age is a number",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-n:-5", r + "/real/app"};
         },
         {"real/app/old.tmp", "real/app/new.tmp"},
         {"real/keep.tmp"}},
        {"a display that is gone: the usage text",
         [](auto&) { return std::vector<std::string>{"-?"}; },
         {},
         {},
         1,
         "",
         {"DISPLAY=:99"}},
        {"a display that is gone: a quiet run",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", r + "/real/app"};
         },
         {"real/app/old.tmp"},
         {"top.tmp"},
         1,
         "",
         {"DISPLAY=:99"}},
        {"a display that is gone: the window",
         [](auto&) { return std::vector<std::string>{}; },
         {},
         {},
         2,
         "varnok: cannot open display :99\nvarnok: no display is available",
         {"DISPLAY=:99"}},
        {"a read-only empty folder stays",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-s", "-d", r + "/real/app"};
         },
         {"real/app/rw"},
         {"real/app/ro"},
         1,
         "",
         {},
         nullptr,
         [](TempDir& r) {
             r.Folder("real/app/rw", kOld);
             r.Folder("real/app/ro", kOld);
             ::chmod((r / "real/app/ro").c_str(), 0555);
         }},
        {"control characters in a name are escaped",
         [](auto& r) {
             return std::vector<std::string>{"-q", "-n:1", r + "/real/app"};
         },
         {},
         {"real/app/e\x1b[2J\rv\n.tmp"},
         1,
         "file %R/real/app/e\\e[2J\\rv\\n.tmp,\nlast modified",
         {},
         nullptr,
         [](TempDir& r) {
             r.File("real/app/e\x1b[2J\rv\n.tmp", kOld);
             fs::remove(r / "real/app/old.tmp");
         }},
        {"a parent that may be passed but not listed",
         [](auto& r) {
             return std::vector<std::string>{"-q", "--c", "-s", r + "/tr/app"};
         },
         {},
         {"tr/app/old.tmp", "top.tmp"},
         2,
         "varnok: Folder not found: ",
         {},
         nullptr,
         [](TempDir& r) {
             r.File("tr/app/old.tmp", kOld);
             ::chmod(r.path().c_str(), 0777);
             ::chmod((r / "tr").c_str(), 0711);
             for (const char* p : {"tr/app", "tr/app/old.tmp", "top.tmp"}) Chown(r / p);
         },
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.asNobody && !IsRoot()) continue;  // needs another user to become
        TempDir r;
        ::chmod(r.path().c_str(), 0755);
        LayOut(r);
        if (row.setup) row.setup(r);
        ProcessLimits limits;
        limits.asNobody = row.asNobody;
        ProcessResult res = RunVarnok(row.args(r.path()), row.cwd ? r / row.cwd : "", row.env, limits);
        EXPECT_EQ(res.exitCode, row.exitCode) << res.err;
        std::string errHas = row.errHas;
        if (size_t at = errHas.find("%R"); at != std::string::npos) errHas.replace(at, 2, r.path());
        if (errHas.empty())
            EXPECT_EQ(res.err, "");
        else
            EXPECT_NE(res.err.find(errHas), std::string::npos) << res.err;
        EXPECT_EQ(res.err.find_first_of("\x1b\r"), std::string::npos) << "raw control characters reached stderr";
        for (const std::string& g : row.gone) EXPECT_FALSE(r.Exists(g)) << g << " should be gone";
        for (const std::string& k : row.kept) EXPECT_TRUE(r.Exists(k)) << k << " should stay";
    }
}

TEST(Safety, UsageTextOnADisplayThatIsGone) {
    ProcessResult r = RunVarnok({"-?"}, "", {"DISPLAY=:99"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.rfind("Varnok Version 1.4\n", 0), 0u);
    EXPECT_NE(r.out.find("-q quiet mode\n"), std::string::npos);
}

// A tmpfs and a bind mount of an outside folder below the start folder: never entered,
// never removed. Needs a private mount namespace (root).
TEST(Safety, MountPointsBelowTheStartFolderAreNeverEntered) {
    if (!IsRoot()) GTEST_SKIP() << "needs root for a private mount namespace";
    TempDir r, outside;
    outside.File("victim.tmp", kOld);
    r.File("app/old.tmp", kOld);
    r.Folder("app/bind", kOld);
    r.Folder("app/tmpfs", kOld);
    const std::string script = "mount --bind '" + outside.path() + "' '" + r / "app/bind" +
                               "' && mount -t tmpfs tmpfs '" + r / "app/tmpfs" + "' && touch -d 2000-01-01 '" +
                               r / "app/tmpfs/inner.tmp" + "' && touch -d 2000-01-01 '" + r / "app/tmpfs" + "' '" +
                               r / "app/bind" + "' || exit 99; \"$0\" -q --c -s -d -n:1 '" + r / "app" +
                               "'; echo exit=$?; test -e '" + r / "app/tmpfs/inner.tmp" + "' && echo tmpfs-kept; " +
                               "mountpoint -q '" + r / "app/tmpfs" + "' && echo still-mounted";
    ProcessResult res = RunProcess(
        {"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh", "-c", script, VARNOK_BINARY}, CronEnv());
    if (res.exitCode != 0) GTEST_SKIP() << "no private mount namespace here: " << res.err;
    EXPECT_NE(res.out.find("exit=1\n"), std::string::npos) << res.out << res.err;
    EXPECT_NE(res.out.find("tmpfs-kept\n"), std::string::npos) << res.out;
    EXPECT_NE(res.out.find("still-mounted\n"), std::string::npos) << res.out;
    EXPECT_FALSE(r.Exists("app/old.tmp"));
    EXPECT_TRUE(outside.Exists("victim.tmp"));
}

// Quiet runs start while someone swaps the start folder for a link into a folder the
// walk can never reach (below a parent that may be passed but not listed). The sweep
// lists only the folder the walk found, so the outside is never touched.
TEST(Safety, AStartFolderSwappedForALinkIsNeverSweptThroughIt) {
    if (!IsRoot()) GTEST_SKIP() << "needs another user to become";
    TempDir r;
    ::chmod(r.path().c_str(), 0755);
    r.Folder("start");
    r.Folder("hidden/out");
    for (int i = 0; i < 20; ++i) r.File("hidden/out/victim" + std::to_string(i) + ".tmp", kOld);
    ::chmod((r / "hidden").c_str(), 0711);
    for (const char* p : {"start", "hidden/out"}) Chown(r / p);
    for (int i = 0; i < 20; ++i) Chown(r / ("hidden/out/victim" + std::to_string(i) + ".tmp"));

    const std::string sub = r / "start/sub", parked = r / "start/parked", out = r / "hidden/out";
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        while (!stop) {
            std::error_code ec;
            fs::create_directory(sub, ec);
            ::rename(sub.c_str(), parked.c_str());
            ::symlink(out.c_str(), sub.c_str());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            ::unlink(sub.c_str());
            ::rename(parked.c_str(), sub.c_str());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    ProcessLimits nobody;
    nobody.asNobody = true;
    int swept = 0;
    for (int run = 0; run < 60; ++run) {
        ProcessResult res = RunVarnok({"-q", "--c", "-s", "-d", "-n:-1", sub}, "", {}, nobody);
        swept += res.exitCode == 1;
    }
    stop = true;
    swapper.join();
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(r.Exists("hidden/out/victim" + std::to_string(i) + ".tmp")) << i;
    EXPECT_GT(swept, 0);  // some runs did find the real folder
}

// A signal during a read-only deletion never leaves a file's permission changed: every
// file still there afterwards is read-only as before.
TEST(Safety, SignalsNeverLeaveAReadOnlyFileWritable) {
    std::mt19937 random(7);
    const int kFiles = 4000;
    for (int run = 0; run < 12; ++run) {
        TempDir r;
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "ro/f" + std::to_string(i) + ".tmp";
            r.File(name, kOld);
            ::chmod((r / name).c_str(), 0444);
        }
        const int sig = run % 2 ? SIGTERM : SIGINT;
        pid_t pid = ::fork();
        if (pid == 0) {
            std::vector<std::string> args = {VARNOK_BINARY, "-q", "--c", "-r", r / "ro"};
            std::vector<std::string> env = CronEnv();
            std::vector<char*> argv, envp;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            for (auto& e : env) envp.push_back(e.data());
            envp.push_back(nullptr);
            int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        // Strike in the middle of the sweep: once some files are gone, after a random pause.
        for (int waited = 0; waited < 5000; ++waited) {
            int n = 0;
            for (auto it = fs::directory_iterator(r / "ro"); it != fs::directory_iterator(); ++it) ++n;
            if (n < kFiles - 100) break;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
        ::kill(pid, sig);
        int status = 0;
        ::waitpid(pid, &status, 0);
        for (const auto& e : fs::directory_iterator(r / "ro")) {
            struct stat st;
            ASSERT_EQ(::lstat(e.path().c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0444u) << e.path() << " after signal " << sig;
        }
    }
}

// A tree far deeper than the open-file limit is swept completely.
TEST(Safety, ATreeDeeperThanTheDescriptorLimitIsSweptWhole) {
    TempDir r;
    const int depth = 2000;
    std::vector<int> fds{::open(r.path().c_str(), O_RDONLY | O_DIRECTORY)};
    ASSERT_EQ(::mkdirat(fds.back(), "deep", 0700), 0);
    fds.push_back(::openat(fds.back(), "deep", O_RDONLY | O_DIRECTORY));
    const struct timespec old[2] = {{kOld, 0}, {kOld, 0}};
    for (int i = 0; i < depth; ++i) {
        for (const char* name : {"a.tmp", "b.tmp"}) {
            int f = ::openat(fds.back(), name, O_WRONLY | O_CREAT, 0600);
            ::futimens(f, old);
            ::close(f);
        }
        ASSERT_EQ(::mkdirat(fds.back(), "d", 0700), 0);
        int next = ::openat(fds.back(), "d", O_RDONLY | O_DIRECTORY);
        ASSERT_GE(next, 0);
        ::close(fds.back());  // the test itself stays within few descriptors
        fds.back() = next;
    }
    for (int f : fds) ::close(f);
    ProcessLimits low;
    low.fdLimit = 64;
    ProcessResult res = RunVarnok({"-q", "--c", "-s", "-n:1", r / "deep"}, "", {}, low);
    EXPECT_EQ(res.exitCode, 1);
    EXPECT_EQ(res.err, "");
    // Every .tmp at every level is gone; the folders stay (no -d).
    int left = 0, levels = 0;
    for (auto it = fs::recursive_directory_iterator(r / "deep"); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_directory()) ++levels;
        if (it->path().extension() == ".tmp") ++left;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_EQ(left, 0);
}

}  // namespace
