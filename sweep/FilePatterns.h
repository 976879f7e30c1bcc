// File-type patterns: the comma-separated list and the single-pass wildcard matcher.
#pragma once
#include <vector>

#include "framework/CString.h"

// Splits at every comma; nothing is trimmed, so "a,,b" gives an empty middle pattern.
std::vector<CString> SplitFileTypeText(const CString& fileType);

// One left-to-right pass: case-sensitive, each "*" takes the first place where the
// characters after it occur and never reconsiders; "*" and "*.*" alone match everything.
bool MatchesPattern(const CString& pattern, const CString& name);
