// A byte string with the framework's 0-based, -1-when-absent conventions.
// File names are bytes: keep them in a CString, never in a display string.
#pragma once
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(std::string s) : m_str(std::move(s)) {}
    CString(std::string_view s) : m_str(s) {}
    CString(const char* p, int n) : m_str(p, static_cast<size_t>(n)) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }
    char operator[](int i) const { return GetAt(i); }
    const char* GetString() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    // First occurrence at or after nStart; -1 when none or when nStart is at or past the end.
    int Find(char ch, int nStart = 0) const;
    int Find(std::string_view sub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString& MakeUpper();  // ASCII only: the same result in every locale

    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const char* s) {
        m_str += s;
        return *this;
    }
    CString& operator+=(char c) {
        m_str += c;
        return *this;
    }
    friend CString operator+(CString a, const CString& b) {
        a += b;
        return a;
    }
    friend CString operator+(CString a, const char* b) {
        a += b;
        return a;
    }
    friend CString operator+(CString a, char b) {
        a += b;
        return a;
    }
    friend CString operator+(const char* a, const CString& b) { return CString(a) += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == b; }

private:
    std::string m_str;
};
