#include "sweep/FilePatterns.h"

std::vector<CString> SplitFileTypeText(const CString& fileType) {
    std::vector<CString> patterns;
    int start = 0;
    for (int comma; (comma = fileType.Find(',', start)) >= 0; start = comma + 1)
        patterns.push_back(fileType.Mid(start, comma - start));
    patterns.push_back(fileType.Mid(start));
    return patterns;
}

bool MatchesPattern(const CString& pattern, const CString& name) {
    if (pattern == "*.*" || pattern == "*") return true;
    const int lp = pattern.GetLength();
    const int ln = name.GetLength();
    int p = 0;
    int n = 0;
    while (p <= lp) {
        const char item = p < lp ? pattern[p] : '\0';
        if (p < lp && item == '*') {
            if (p == lp - 1) return true;
            int w = p + 1;
            while (w < lp && pattern[w] != '?' && pattern[w] != '*') ++w;
            const CString segment = pattern.Mid(p + 1, w - p - 1);
            int found;
            if (n > ln)
                found = -1;
            else if (segment.IsEmpty())
                found = n;
            else
                found = name.Find(segment.str(), n);
            if (found < 0) return false;
            n = found + segment.GetLength();
            p = w;
        } else if (p < lp && item == '?') {
            ++p;
            ++n;
        } else {
            // A literal or the pattern's end mark: the end mark meets only the name's.
            const bool same = p < lp ? (n < ln && name[n] == item) : n == ln;
            if (!same) return false;
            ++p;
            ++n;
        }
        if (n > ln + 1) return false;
    }
    return true;
}
