// The few POSIX environment calls the tests use, on the Windows C run time.
#pragma once
#include <stdlib.h>
#include <time.h>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name)) return 0;
    return _putenv_s(name, value);
}
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
