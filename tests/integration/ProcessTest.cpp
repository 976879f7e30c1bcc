// The real binary as a process with no display, as cron runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "tests/support/VarnokProcess.h"

namespace {

const std::time_t kOld = 946684800;  // 2000-01-01

ProcessResult Varnok(const std::vector<std::string>& args, const std::string& cwd = "") { return RunVarnok(args, cwd); }

const char* const kUsage =
    "Varnok Version 1.4\nVarnok Project, https://varnok.example.org\n\nUsage\n"
    "varnok [-q] [-c] [-l] [-s] [-d] [-r] [n:-<days> [-?] [<path>]\n"
    "-q quiet mode\n-c confirm\n-l check last access\n-s check sub directories\n"
    "-d delete directories\n-r delete read-only files\n-n:<days> number of days to delete\n-? this help\n";

TEST(Process, UsageTextOnStandardOutputAndExitCodeOne) {
    for (auto args : std::vector<std::vector<std::string>>{{"-?"}, {"-q", "-?"}, {"--help"}, {"-h", "/tmp"}}) {
        ProcessResult r = Varnok(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, kUsage);
        EXPECT_EQ(r.err, "");
    }
}

TEST(Process, WithoutADisplayTheWindowCannotOpen) {
    TempDir tmp;
    for (auto args : std::vector<std::vector<std::string>>{{}, {"-q", tmp / "missing"}}) {
        ProcessResult r = Varnok(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("varnok: no display is available"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("-q"), std::string::npos);
    }
    // A quiet run says first which start folder it did not find: a cron user must learn why.
    ProcessResult quiet = Varnok({"-q", tmp / "missing"});
    EXPECT_EQ(quiet.err.rfind("varnok: Folder not found: " + tmp / "missing" + "\nvarnok: no display", 0), 0u)
        << quiet.err;
    // Not quiet: the message comes first, then the same end.
    ProcessResult r = Varnok({tmp / "missing"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.rfind("varnok: Folder not found!\n", 0), 0u) << r.err;
}

TEST(Process, QuietRunFromCron) {
    TempDir tmp;
    tmp.File("app/old.tmp", kOld);
    tmp.File("app/old.log", kOld);
    tmp.File("app/new.tmp", std::time(nullptr));
    tmp.File("app/cache/deep.tmp", kOld);
    tmp.Folder("app/cache", kOld);
    tmp.Folder("app/emptyold", kOld);
    ProcessResult r = Varnok({"-q", "--c", "-s", "-d", "-n:30", tmp / "app/*.tmp"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(tmp.Exists("app/old.tmp"));
    EXPECT_FALSE(tmp.Exists("app/cache"));
    EXPECT_FALSE(tmp.Exists("app/emptyold"));
    EXPECT_TRUE(tmp.Exists("app/old.log"));
    EXPECT_TRUE(tmp.Exists("app/new.tmp"));
}

TEST(Process, QuietRunWithPromptsAndNoTerminalCancels) {
    TempDir tmp;
    tmp.File("a/x.tmp", kOld);
    tmp.File("a/y.tmp", kOld);
    ProcessResult r = Varnok({"-q", "-n:1", tmp / "a"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(tmp.Exists("a/x.tmp"));
    EXPECT_TRUE(tmp.Exists("a/y.tmp"));
    EXPECT_NE(r.err.find("Are you sure you want to delete\nfile "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("varnok: no terminal to answer; answered Cancel\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Are you sure", r.err.find("Cancel")), std::string::npos);  // one question only
}

TEST(Process, RelativeStartPathAndRefusedAge) {
    TempDir tmp;
    tmp.File("logs/a.log", kOld);
    tmp.File("logs/b.tmp", kOld);
    ProcessResult r = Varnok({"-q", "--c", "-n:1", "logs/*.log"}, tmp.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(tmp.Exists("logs/a.log"));
    EXPECT_TRUE(tmp.Exists("logs/b.tmp"));

    // An age over four characters is refused and nothing is swept.
    tmp.File("logs/c.tmp", kOld);
    r = Varnok({"-q", "--c", "-n:00001", tmp / "logs"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "varnok: Please enter no more than 4 characters.\n");
    EXPECT_TRUE(tmp.Exists("logs/c.tmp"));
}

}  // namespace
