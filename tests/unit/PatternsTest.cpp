// File-type patterns: the split and the single-pass matcher, through the dialog's members.
#include <gtest/gtest.h>

#include "sweep/FilePatterns.h"
#include "tests/support/MemoryFileSystem.h"
#include "ui/VarnokDlg.h"

namespace {

struct Row {
    const char* fileType;
    const char* name;
    bool match;
};

// The worked examples, every row.
const Row kRows[] = {
    {"*.tmp", "a.tmp", true},
    {"*.tmp", ".tmp", true},
    {"*.tmp", "A.TMP", false},
    {"*.TMP", "a.tmp", false},
    {"*.tmp", "a.tmpx", false},
    {"*.tmp", "a.tmp.tmp", false},
    {"*.tmp*", "a.tmpx", true},
    {"*.*", "README", true},
    {"*", "x", true},
    {"**", "x", true},
    {"*.", "abc", false},
    {"*.", "abc.", true},
    {"a*", "a", true},
    {"*a", "ba", true},
    {"*a", "baba", false},
    {"*a*", "xaz", true},
    {"?", "a", true},
    {"?", "ab", false},
    {"a?", "a", false},
    {"a?", "ab", true},
    {"a?*", "a", true},
    {"a??*", "a", false},
    {"*?", "a", true},
    {"*?", "ab", false},
    {"*?x", "abx", false},
    {"*.tm?", "a.tmp", true},
    {"*.tm?", "a.tm", false},
    {"a*b*c", "aXbYc", true},
    {"a*b*c", "abcbc", false},
    {"data??.log", "data01.log", true},
    {"data??.log", "data1.log", false},
    {"", "x", false},
    {"*.tmp,*.bak", "x.bak", true},
    {"*.tmp,*.bak", "a.tmp.bak", true},
    {"*.tmp, *.bak", "x.bak", false},
    {"abc.tmp,*.a", "abc.tmx", false},
    {"a?,*.log", "ab.log", true},
    {",*.bak", "x.bak", true},
    {"*.tmp,*", "x.doc", true},
    // and a few more edges: a catch-all only when the slot holds exactly that text
    {" *.*", "x", false},
    {"*.tmp,", "x.tmp", true},
    {"*.tmp,", "x", false},
    {"a,,b", "b", true},
};

TEST(Patterns, WorkedExamples) {
    MemoryFileSystem fs;
    CVarnokDlg dlg(nullptr, &fs);
    for (const Row& r : kRows) {
        SCOPED_TRACE(std::string(r.fileType) + " ~ " + r.name);
        dlg.m_strFileType = r.fileType;
        dlg.SplitFileType();
        EXPECT_EQ(dlg.MatchesFileType(r.name), r.match);
    }
}

TEST(Patterns, SplitKeepsEveryPatternUntrimmed) {
    EXPECT_EQ(SplitFileTypeText("").size(), 1u);
    const auto parts = SplitFileTypeText(",a , b,");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].str(), "");
    EXPECT_EQ(parts[1].str(), "a ");
    EXPECT_EQ(parts[2].str(), " b");
    EXPECT_EQ(parts[3].str(), "");
}

TEST(Patterns, LongListsKeepEveryPattern) {
    MemoryFileSystem fs;
    CVarnokDlg dlg(nullptr, &fs);
    std::string fileType;
    for (int i = 0; i < 25; ++i) {
        if (i) fileType += ',';
        fileType += "*.e";
        fileType += std::to_string(i);
    }
    dlg.m_strFileType = fileType;
    dlg.SplitFileType();
    EXPECT_EQ(dlg.m_nPatterns, 25);
    EXPECT_TRUE(dlg.MatchesFileType("x.e0"));
    EXPECT_TRUE(dlg.MatchesFileType("x.e10"));  // the eleventh pattern is not dropped
    EXPECT_TRUE(dlg.MatchesFileType("x.e24"));
    EXPECT_FALSE(dlg.MatchesFileType("x.e25"));
    // A shorter split afterwards reads only its own slots.
    dlg.m_strFileType = "*.bak";
    dlg.SplitFileType();
    EXPECT_EQ(dlg.m_nPatterns, 1);
    EXPECT_FALSE(dlg.MatchesFileType("x.e24"));
}

}  // namespace
