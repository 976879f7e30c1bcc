// The age value, the cutoff, the age rule and the time text.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>

#include "sweep/Age.h"

namespace {

TEST(Age, TextFollowsAtoiAndNeverOverflows) {
    const std::pair<const char*, int> cases[] = {
        {"7", 7},
        {"  7", 7},
        {"+7", 7},
        {"7days", 7},
        {"-3", -3},
        {"", 0},
        {"x7", 0},
        {"-", 0},
        {"\t\n 12", 12},
        {"00120", 120},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX},
    };
    for (auto [text, age] : cases) EXPECT_EQ(AgeFromText(text), age) << text;
}

TEST(Age, CutoffAndStrictRule) {
    const CTime now(1'000'000'000);
    EXPECT_EQ(CutoffFor(now, 0), now);
    EXPECT_EQ(CutoffFor(now, 2), CTime(1'000'000'000 - 2 * 86400));
    EXPECT_EQ(CutoffFor(now, -1), CTime(1'000'000'000 + 86400));  // a negative age: a future cutoff
    EXPECT_EQ(CutoffFor(now, INT_MAX).GetTime(), 1'000'000'000 - static_cast<std::int64_t>(INT_MAX) * 86400);

    const CTime cutoff(1'000'000);
    struct Row {
        std::int64_t written, accessed;
        bool lastAccess, old;
    } rows[] = {
        {999'999, 0, false, true},                                       // a second before the cutoff
        {1'000'000, 0, false, false},                                    // equal: not old
        {999'999, 1'000'001, false, true},                               // last access not looked at
        {999'999, 1'000'001, true, false},                               // read after the cutoff
        {999'999, 999'999, true, true},    {1'000'001, 0, true, false},  // written after the cutoff: never old
        {-86400, -86400, true, true},      // before 1970: its true negative value, still old
        {4'102'444'800, 0, false, false},  // 2100: after 2038 is not old
    };
    for (const Row& r : rows)
        EXPECT_EQ(IsOld({CTime(r.accessed), CTime(r.written)}, cutoff, r.lastAccess), r.old)
            << r.written << " " << r.accessed << " " << r.lastAccess;
    // After 2038 against a present-day cutoff.
    EXPECT_FALSE(IsOld({CTime(0), CTime(2'200'000'000)}, CutoffFor(CTime(1'800'000'000), 0), false));
}

class TimeTextTest : public testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        m_oldTz = tz ? tz : "";
        m_hadTz = tz != nullptr;
    }
    void TearDown() override {
        if (m_hadTz)
            setenv("TZ", m_oldTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    void Zone(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }
    std::string m_oldTz;
    bool m_hadTz = false;
};

TEST_F(TimeTextTest, EnglishNamesZeroPaddedDayAndTrueLocalTime) {
    Zone("UTC0");
    EXPECT_EQ(TimeText(CTime(976183200)).str(), "Thu Dec 07 10:00:00 2000\n");
    EXPECT_EQ(TimeText(CTime(0)).str(), "Thu Jan 01 00:00:00 1970\n");
    EXPECT_EQ(TimeText(CTime(-86400)).str(), "Wed Dec 31 00:00:00 1969\n");
    EXPECT_EQ(TimeText(CTime(2'200'000'000)).str(), "Sun Sep 18 23:06:40 2039\n");

    // Central Europe: each date shown in the offset in force on that date, whatever today is.
    Zone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(TimeText(CTime(976183200)).str(), "Thu Dec 07 11:00:00 2000\n");  // winter: +1
    EXPECT_EQ(TimeText(CTime(962445600)).str(), "Sat Jul 01 12:00:00 2000\n");  // summer: +2
}

}  // namespace
