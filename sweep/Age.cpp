#include "sweep/Age.h"

#include <climits>
#include <cstdio>
#include <ctime>

namespace {
// Where atoi starts reading digits: after the blanks and one sign.
size_t DigitsStart(const std::string& s, bool* pNegative) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    *pNegative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) *pNegative = s[i++] == '-';
    return i;
}
}  // namespace

bool AgeTextHoldsNumber(const CString& text) {
    bool negative;
    const size_t i = DigitsStart(text.str(), &negative);
    return i < text.str().size() && text.str()[i] >= '0' && text.str()[i] <= '9';
}

int AgeFromText(const CString& text) {
    const std::string& s = text.str();
    bool negative;
    size_t i = DigitsStart(s, &negative);
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

CTime CutoffFor(CTime now, int nDays) { return now - CTimeSpan(static_cast<std::int64_t>(nDays) * 86400); }

bool IsOld(const EntryTimes& times, CTime cutoff, bool bLastAccess) {
    return times.lastWrite < cutoff && (!bLastAccess || times.lastAccess < cutoff);
}

CString TimeText(CTime t) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // Some run times (Windows') refuse times before 1970. The calendar repeats every 400
    // years, weekdays included, so such a time is read from its twin in range.
    constexpr std::int64_t kCycle = 146097LL * 86400;
    std::int64_t cycles = 0;
    time_t tt = static_cast<time_t>(t.GetTime());
    struct tm tm;
    if (!localtime_r(&tt, &tm)) {
        cycles = t.GetTime() / kCycle - (t.GetTime() % kCycle < 0 ? 1 : 0);
        tt = static_cast<time_t>(t.GetTime() - cycles * kCycle);
        if (!localtime_r(&tt, &tm)) return "(time out of range)\n";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %s %02d %02d:%02d:%02d %lld\n", kDays[tm.tm_wday % 7], kMonths[tm.tm_mon % 12],
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<long long>(tm.tm_year) + 1900 + cycles * 400);
    return buf;
}
