// The run options: the first-letter rule, negations, the age and the start path.
#include <gtest/gtest.h>

#include "app/Presets.h"
#include "app/VarnokCommandLineInfo.h"
#include "framework/CWinApp.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/VarnokDlg.h"

namespace {

struct ProcessExit {
    int code;
};
[[noreturn]] void ThrowExit(int code) { throw ProcessExit{code}; }

CVarnokCommandLineInfo Parse(std::vector<std::string> args, const char* markers) {
    args.insert(args.begin(), "varnok");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    CWinApp app;
    app.m_strOptionMarkers = markers;
    app.SetCommandLine(static_cast<int>(argv.size()), argv.data());
    CVarnokCommandLineInfo info;
    app.ParseCommandLine(info);
    return info;
}

struct Case {
    std::vector<std::string> args;
    const char* markers;
    // expected: q c l s d r, days given, days, path given, path
    int q, c, l, s, d, r, daysGiven;
    const char* days;
    int pathGiven;
    const char* path;
};

const Case kCases[] = {
    {{}, "-", 0, 1, 0, 0, 0, 0, 0, "", 0, ""},
    {{"-q"}, "-", 1, 1, 0, 0, 0, 0, 0, "", 0, ""},
    {{"/q"}, "/-", 1, 1, 0, 0, 0, 0, 0, "", 0, ""},
    {{"-quiet", "-subdirs"}, "-", 1, 1, 0, 1, 0, 0, 0, "", 0, ""},
    {{"-Q", "-S"}, "-", 0, 1, 0, 0, 0, 0, 0, "", 0, ""},  // upper case selects nothing
    {{"-n:30"}, "-", 0, 1, 0, 0, 0, 0, 1, "30", 0, ""},
    {{"-n=30"}, "-", 0, 1, 0, 0, 0, 0, 1, "30", 0, ""},
    {{"-n30"}, "-", 0, 1, 0, 0, 0, 0, 1, "0", 0, ""},
    {{"-n:"}, "-", 0, 1, 0, 0, 0, 0, 1, "", 0, ""},
    {{"-n"}, "-", 0, 1, 0, 0, 0, 0, 1, "", 0, ""},
    {{"-n:5", "-n:7"}, "-", 0, 1, 0, 0, 0, 0, 1, "7", 0, ""},
    {{"-days:30"}, "-", 0, 1, 0, 0, 1, 0, 0, "", 0, ""},  // "d", not an age
    {{"-dde"}, "-", 0, 1, 0, 0, 1, 0, 0, "", 0, ""},
    {{"--c"}, "-", 0, 0, 0, 0, 0, 0, 0, "", 0, ""},
    {{"/-c"}, "/-", 0, 0, 0, 0, 0, 0, 0, "", 0, ""},
    {{"--c", "-c"}, "-", 0, 1, 0, 0, 0, 0, 0, "", 0, ""},
    {{"-l", "-s", "-d", "-r", "--l", "--r"}, "-", 0, 1, 0, 1, 1, 0, 0, "", 0, ""},
    {{"--n", "--x", "-", "--", "-x"}, "-", 0, 1, 0, 0, 0, 0, 0, "", 0, ""},
    {{"/tmp/a", "/tmp/b"}, "-", 0, 1, 0, 0, 0, 0, 0, "", 1, "/tmp/a"},  // "/" begins a path here
    {{"C:\\Temp", "D:\\x"}, "/-", 0, 1, 0, 0, 0, 0, 0, "", 1, "C:\\Temp"},
    {{""}, "-", 0, 1, 0, 0, 0, 0, 0, "", 1, ""},  // an empty quoted argument is a path
    {{"-q", "-s", "-n:12345", "-", "x y"}, "-", 1, 1, 0, 1, 0, 0, 1, "12345", 1, "x y"},
};

TEST(CommandLine, FirstLetterRuleNegationsAgeAndPath) {
    for (const Case& c : kCases) {
        std::string label;
        for (auto& a : c.args) label += "[" + a + "]";
        SCOPED_TRACE(label);
        CVarnokCommandLineInfo info = Parse(c.args, c.markers);
        EXPECT_EQ(info.m_bQuiet, c.q);
        EXPECT_EQ(info.m_bConfirm, c.c);
        EXPECT_EQ(info.m_bLastAccess, c.l);
        EXPECT_EQ(info.m_bSubDirs, c.s);
        EXPECT_EQ(info.m_bDeleteDirs, c.d);
        EXPECT_EQ(info.m_bReadOnly, c.r);
        EXPECT_EQ(info.m_bDaysGiven, c.daysGiven);
        EXPECT_EQ(info.m_strDays.str(), c.days);
        EXPECT_EQ(info.m_bPathGiven, c.pathGiven);
        EXPECT_EQ(info.m_strPath.str(), c.path);
    }
}

TEST(CommandLine, UsageBoxEndsWithExitCodeOneWhicheverButton) {
    const char* const kHead = "Varnok Version 1.4\n"
                              "Varnok Project, https://varnok.example.org\n"
                              "\n"
                              "Usage\n";
    // Windows shows "/" markers; on Linux "/" begins a path, so the text shows "-".
    const std::string kWindows = std::string(kHead) + "varnok [/q] [/c] [/l] [/s] [/d] [/r] [n:/<days> [/?] [<path>]\n"
                                                      "/q quiet mode\n"
                                                      "/c confirm\n"
                                                      "/l check last access\n"
                                                      "/s check sub directories\n"
                                                      "/d delete directories\n"
                                                      "/r delete read-only files\n"
                                                      "/n:<days> number of days to delete\n"
                                                      "/? this help\n";
    const std::string kLinux = std::string(kHead) + "varnok [-q] [-c] [-l] [-s] [-d] [-r] [n:-<days> [-?] [<path>]\n"
                                                    "-q quiet mode\n"
                                                    "-c confirm\n"
                                                    "-l check last access\n"
                                                    "-s check sub directories\n"
                                                    "-d delete directories\n"
                                                    "-r delete read-only files\n"
                                                    "-n:<days> number of days to delete\n"
                                                    "-? this help\n";
    ExitHandler old = AfxSetExitHandler(&ThrowExit);
    struct Run {
        std::vector<std::string> args;
        const char* markers;
        const std::string& usage;
    } runs[] = {{{"-?"}, "-", kLinux},         {{"-q", "-?"}, "-", kLinux}, {{"-?", "-q"}, "-", kLinux},
                {{"-h"}, "-", kLinux},         {{"--help"}, "-", kLinux},   {{"/?"}, "/-", kWindows},
                {{"/q", "-?"}, "/-", kWindows}};
    for (const Run& run : runs) {
        for (int button : {IDOK, IDCANCEL}) {
            ScriptedPresenter boxes;
            boxes.Answer({button});
            try {
                Parse(run.args, run.markers);
                ADD_FAILURE() << "the process did not end";
            } catch (const ProcessExit& e) {
                EXPECT_EQ(e.code, 1);
            }
            ASSERT_EQ(boxes.boxes.size(), 1u);
            EXPECT_EQ(boxes.boxes[0].text, run.usage);
            EXPECT_EQ(boxes.boxes[0].type, MB_OKCANCEL | MB_ICONEXCLAMATION);
        }
    }
    AfxSetExitHandler(old);
    // "/-?" negates nothing and shows nothing.
    ScriptedPresenter boxes;
    Parse({"--?", "--n"}, "-");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(CommandLine, StartUpPresets) {
    struct Preset {
        std::vector<std::string> args;
        const char* days;
        BOOL prompt, subDirs, readOnly;
        const char* path;
    };
    const Preset presets[] = {
        {{}, "120", TRUE, FALSE, FALSE, ""},
        {{"-n:"}, "", TRUE, FALSE, FALSE, ""},
        {{"--c", "-s", "-r"}, "120", FALSE, TRUE, TRUE, ""},
        {{"-n:7", "/var/tmp"}, "7", TRUE, FALSE, FALSE, "/var/tmp"},
    };
    MemoryFileSystem fs;
    for (const Preset& p : presets) {
        CVarnokDlg dlg(nullptr, &fs);
        PresetMainDialog(dlg, Parse(p.args, "-"));
        EXPECT_EQ(dlg.m_strDays.str(), p.days);
        EXPECT_EQ(dlg.m_bPrompt, p.prompt);
        EXPECT_EQ(dlg.m_bSubDirs, p.subDirs);
        EXPECT_EQ(dlg.m_bReadOnly, p.readOnly);
        EXPECT_EQ(dlg.m_bLastAccess, FALSE);
        EXPECT_EQ(dlg.m_bDeleteDirs, FALSE);
        EXPECT_EQ(dlg.m_strFileType.str(), "*.tmp");
        EXPECT_EQ(dlg.m_strPath.str(), p.path);
        EXPECT_EQ(dlg.m_bPathGiven, *p.path != '\0');
        EXPECT_FALSE(dlg.m_bQuiet);
    }
}

}  // namespace
