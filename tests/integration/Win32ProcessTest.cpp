// The real varnok.exe as a process: the quiet run, its command line and its exit code.
// Only runs that show no message box are started here: nobody is there to answer one.
#include <gtest/gtest.h>

#include "tests/support/win32/WinTempDir.h"

namespace {

const std::int64_t kOld = 946684800;  // 2000-01-01
const std::string kGreek = "\xCE\xA9mega";

std::string Exe() { return "\"" + OwnFolder() + "\\..\\" + VARNOK_EXE + "\""; }

class Win32ProcessTest : public testing::Test {
protected:
    void SetUp() override {
        tmp.File("App\\old.tmp", kOld);
        tmp.File("App\\new.tmp", 2'000'000'000);  // 2033: not old
        tmp.File("App\\old.log", kOld);
        tmp.File("App\\Sub\\old.tmp", kOld);
        tmp.SetTimes("App\\Sub", kOld);
        tmp.File("App\\ro.tmp", kOld);
        tmp.SetReadOnly("App\\ro.tmp", true);
    }
    WinTempDir tmp;
};

TEST_F(Win32ProcessTest, QuietRunDeletesWhatItMustAndExitsWithOne) {
    EXPECT_EQ(RunCommandLine(Exe() + " /q /-c /s /d /n:30 " + tmp / "App\\*.tmp"), 1);
    EXPECT_FALSE(tmp.Exists("App\\old.tmp"));
    EXPECT_FALSE(tmp.Exists("App\\Sub"));  // emptied and old: removed
    EXPECT_TRUE(tmp.Exists("App\\new.tmp"));
    EXPECT_TRUE(tmp.Exists("App\\old.log"));
    EXPECT_TRUE(tmp.Exists("App\\ro.tmp"));  // read-only, no /r
    EXPECT_TRUE(tmp.IsReadOnly("App\\ro.tmp"));

    // "-" marks options too; /r resets the read-only file and deletes it.
    EXPECT_EQ(RunCommandLine(Exe() + " -q --c -r -n:30 " + tmp / "App\\*.tmp"), 1);
    EXPECT_FALSE(tmp.Exists("App\\ro.tmp"));
}

TEST_F(Win32ProcessTest, QuotedPathsWithBlanksAndNamesOutsideTheAnsiCodePage) {
    tmp.File("My App\\old.tmp", kOld);
    tmp.File(kGreek + "\\old.tmp", kOld);
    tmp.File(kGreek + "\\old.log", kOld);
    // Quotes group the path with its blank and are removed.
    EXPECT_EQ(RunCommandLine(Exe() + " /q /-c \"/n:30\" \"" + tmp / "My App\\*.tmp\""), 1);
    EXPECT_FALSE(tmp.Exists("My App\\old.tmp"));
    // The file type taken from the path: *.log here, in a folder named outside the ANSI page.
    EXPECT_EQ(RunCommandLine(Exe() + " /q /-c /n:30 " + tmp / (kGreek + "\\*.log")), 1);
    EXPECT_TRUE(tmp.Exists(kGreek + "\\old.tmp"));
    EXPECT_FALSE(tmp.Exists(kGreek + "\\old.log"));
}

}  // namespace
