// Start-up as a process: a run that shows nothing and asks nothing never loads the toolkit
// nor probes the display; showing the window does load it.
#include <gtest/gtest.h>

#include "tests/support/VarnokProcess.h"

namespace {

const std::time_t kOld = 946684800;  // 2000-01-01

// LD_DEBUG=files makes the dynamic linker name every library it loads, dlopen included.
bool Loaded(const ProcessResult& r, const std::string& library) {
    for (size_t at = r.err.find("file="); at != std::string::npos; at = r.err.find("file=", at + 1)) {
        const std::string line = r.err.substr(at, r.err.find('\n', at) - at);
        if (line.find(library) != std::string::npos) return true;
    }
    return false;
}

TEST(Startup, AQuietRunLoadsNoToolkitAndShowingTheWindowDoes) {
    TempDir tmp;
    tmp.File("a/old.tmp", kOld);
    // A display that is named but does not exist: a quiet run has no reason to try it.
    ProcessResult quiet = RunVarnok({"-q", "--c", "-n:1", tmp / "a/*.tmp"}, "", {"LD_DEBUG=files", "DISPLAY=:97"});
    EXPECT_EQ(quiet.exitCode, 1);
    EXPECT_FALSE(tmp.Exists("a/old.tmp"));
    for (const char* library : {"libvarnok-qt.so", "libQt6Core", "libQt6Gui", "libfontconfig", "libxcb"})
        EXPECT_FALSE(Loaded(quiet, library)) << library;

    // The window: the toolkit loads, finds no display, and the run ends as without it.
    ProcessResult window = RunVarnok({}, "", {"LD_DEBUG=files"});
    EXPECT_EQ(window.exitCode, 2);
    EXPECT_TRUE(Loaded(window, "libvarnok-qt.so"));
    EXPECT_TRUE(Loaded(window, "libQt6Widgets"));
    EXPECT_NE(window.err.find("varnok: no display is available"), std::string::npos);
}

TEST(Startup, WithoutTheToolkitModuleTheWindowRunFailsAndAQuietRunWorks) {
    TempDir tmp;
    tmp.Folder("bin");
    tmp.File("a/old.tmp", kOld);
    const std::string copy = tmp / "bin/varnok";
    ASSERT_EQ(RunProcess({"/bin/cp", VARNOK_BINARY, copy}, CronEnv()).exitCode, 0);
    ProcessResult quiet = RunProcess({copy, "-q", "--c", "-n:1", tmp / "a/*.tmp"}, CronEnv());
    EXPECT_EQ(quiet.exitCode, 1);
    EXPECT_FALSE(tmp.Exists("a/old.tmp"));
    ProcessResult window = RunProcess({copy}, CronEnv());
    EXPECT_EQ(window.exitCode, 2);
    EXPECT_EQ(window.err.rfind("varnok: cannot load the window toolkit: ", 0), 0u) << window.err;
}

}  // namespace
