#include "framework/CString.h"

int CString::Find(char ch, int nStart) const { return Find(std::string_view(&ch, 1), nStart); }

int CString::Find(std::string_view sub, int nStart) const {
    if (nStart < 0) nStart = 0;
    if (nStart >= GetLength()) return -1;
    size_t pos = m_str.find(sub, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0) nFirst = 0;
    if (nCount < 0) nCount = 0;
    if (nFirst >= GetLength()) return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
    if (nCount <= 0) return CString();
    if (nCount >= GetLength()) return *this;
    return Mid(GetLength() - nCount);
}

CString& CString::MakeUpper() {
    for (char& c : m_str)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return *this;
}
