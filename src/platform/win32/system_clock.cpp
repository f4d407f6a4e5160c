// The machine's clock: local date and time of day, a monotonic stopwatch
// and plain sleeps.
#include <windows.h>

#include "platform/platform.h"

namespace {

class SystemClock : public Clock {
public:
    LocalTime Now() override {
        SYSTEMTIME local;
        GetLocalTime(&local);
        LocalTime t;
        t.year = local.wYear;
        t.month = local.wMonth;
        t.day = local.wDay;
        t.hour = local.wHour;
        t.minute = local.wMinute;
        t.second = local.wSecond;
        t.millisecond = local.wMilliseconds;
        return t;
    }

    double ElapsedSeconds() override {
        static const double frequency = [] {
            LARGE_INTEGER f;
            QueryPerformanceFrequency(&f);
            return (double)f.QuadPart;
        }();
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart / frequency;
    }

    void Pause(int milliseconds) override {
        if (milliseconds > 0) Sleep((DWORD)milliseconds);
    }
};

}  // namespace

Clock* MakeSystemClock() { return new SystemClock; }
