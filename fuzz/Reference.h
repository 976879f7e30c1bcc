// The file-type rules written plainly on std::string, apart from the program's own code,
// for the fuzz targets to compare against.
#pragma once
#include <string>
#include <vector>

namespace reference {

// Splits at every comma; nothing is trimmed.
inline std::vector<std::string> Split(const std::string& fileType) {
    std::vector<std::string> parts(1);
    for (char c : fileType) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// One pattern against one name. Both are read with an end mark after their last
// character; the pattern's end mark meets only the name's, and past the name's end mark
// there is nothing. A "*" takes the first place where the characters up to the next
// wildcard occur and never reconsiders.
inline bool Match(const std::string& pattern, const std::string& name) {
    if (pattern == "*" || pattern == "*.*") return true;
    const size_t lp = pattern.size();
    const size_t ln = name.size();
    size_t p = 0;
    size_t n = 0;
    while (p <= lp) {
        if (p == lp) {  // the pattern's end mark
            if (n != ln) return false;
            return true;
        }
        const char c = pattern[p];
        if (c == '*') {
            if (p + 1 == lp) return true;
            size_t w = pattern.find_first_of("*?", p + 1);
            if (w == std::string::npos) w = lp;
            const std::string literal = pattern.substr(p + 1, w - p - 1);
            if (n > ln) return false;
            const size_t at = name.find(literal, n);
            if (at == std::string::npos) return false;
            n = at + literal.size();
            p = w;
        } else if (c == '?') {
            ++p;
            ++n;
        } else {
            if (n >= ln || name[n] != c) return false;
            ++p;
            ++n;
        }
        if (n > ln + 1) return false;
    }
    return true;
}

inline bool MatchesFileType(const std::string& fileType, const std::string& name) {
    for (const std::string& pattern : Split(fileType))
        if (Match(pattern, name)) return true;
    return false;
}

}  // namespace reference
