// The few POSIX calls the tests use, on Windows. The variables go to the
// process environment the program reads (GetEnvironmentVariable) and to the
// C library's copy (getenv).
#pragma once
#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <windows.h>

inline int setenv(const char* name, const char* value, int /*overwrite*/) {
    SetEnvironmentVariableA(name, value);
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) {
    SetEnvironmentVariableA(name, nullptr);
    return _putenv_s(name, "");
}

inline char* mkdtemp(char* pattern) {
    if (_mktemp_s(pattern, strlen(pattern) + 1) != 0) return nullptr;
    return _mkdir(pattern) == 0 ? pattern : nullptr;
}

inline time_t timegm(struct tm* t) { return _mkgmtime(t); }

inline struct tm* gmtime_r(const time_t* t, struct tm* out) { return gmtime_s(out, t) == 0 ? out : nullptr; }
#endif
