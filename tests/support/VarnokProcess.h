// The real binary as a process, as cron runs it: no display, no Qt settings. Included by
// test files that are built with VARNOK_BINARY defined.
#pragma once
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

// The environment of a cron job, plus extra variables. The sanitizers' settings pass
// through, so that a sanitized build is judged as the suite is.
inline std::vector<std::string> CronEnv(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "HOME=/tmp", "LANG=C.UTF-8", "TZ=UTC"};
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
        if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

inline ProcessResult RunVarnok(std::vector<std::string> args, const std::string& cwd = "",
                               const std::vector<std::string>& extraEnv = {}, ProcessLimits limits = {}) {
    args.insert(args.begin(), VARNOK_BINARY);
    return RunProcess(args, CronEnv(extraEnv), "", cwd, limits);
}
