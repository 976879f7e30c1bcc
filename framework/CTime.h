// Points in time as signed 64-bit seconds since 1970 UTC, so that dates past
// 2038 and before 1970 keep their true values.
#pragma once
#include <cstdint>

class CTimeSpan {
public:
    constexpr explicit CTimeSpan(std::int64_t seconds = 0) : m_span(seconds) {}
    constexpr std::int64_t GetTotalSeconds() const { return m_span; }

private:
    std::int64_t m_span;
};

class CTime {
public:
    constexpr CTime() : m_time(0) {}
    constexpr explicit CTime(std::int64_t t) : m_time(t) {}
    static CTime GetCurrentTime();  // the system clock
    constexpr std::int64_t GetTime() const { return m_time; }
    constexpr CTime operator-(CTimeSpan s) const { return CTime(m_time - s.GetTotalSeconds()); }
    constexpr CTime operator+(CTimeSpan s) const { return CTime(m_time + s.GetTotalSeconds()); }
    constexpr bool operator<(CTime o) const { return m_time < o.m_time; }
    constexpr bool operator==(CTime o) const { return m_time == o.m_time; }

private:
    std::int64_t m_time;
};
