// The file-type split and matcher against the plain reference.
// Input: the file type, then one name a line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/Reference.h"
#include "sweep/FilePatterns.h"

namespace {
[[noreturn]] void Differ(const char* what, const std::string& fileType, const std::string& name) {
    std::fprintf(stderr, "%s\n  file type: \"%s\"\n  name: \"%s\"\n", what, fileType.c_str(), name.c_str());
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t eol = input.find('\n');
    const std::string fileType = input.substr(0, eol);

    const std::vector<CString> patterns = SplitFileTypeText(fileType);
    const std::vector<std::string> expected = reference::Split(fileType);
    if (patterns.size() != expected.size()) Differ("split: another number of patterns", fileType, "");
    for (size_t i = 0; i < patterns.size(); ++i)
        if (patterns[i].str() != expected[i]) Differ("split: another pattern", fileType, expected[i]);

    while (eol != std::string::npos) {
        const size_t next = input.find('\n', eol + 1);
        const std::string name = input.substr(eol + 1, next == std::string::npos ? std::string::npos : next - eol - 1);
        eol = next;
        for (const CString& pattern : patterns) {
            const bool got = MatchesPattern(pattern, name);
            if (got != reference::Match(pattern.str(), name)) Differ("match: another result", pattern.str(), name);
            // Without "*" the rules come down to: as long as the name, each "?" any one
            // character, everything else itself.
            const std::string& p = pattern.str();
            if (p.find('*') == std::string::npos) {
                bool same = p.size() == name.size();
                for (size_t i = 0; same && i < p.size(); ++i) same = p[i] == '?' || p[i] == name[i];
                if (got != same) Differ("match: a pattern without \"*\"", p, name);
            }
        }
    }
    return 0;
}
