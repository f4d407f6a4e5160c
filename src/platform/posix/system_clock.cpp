// The machine's clock: local date and time of day, a monotonic stopwatch
// and plain sleeps.
#include <time.h>

#include <cerrno>

#include "platform/platform.h"

namespace {

class SystemClock : public Clock {
public:
    LocalTime Now() override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        tm local{};
        localtime_r(&now.tv_sec, &local);
        LocalTime t;
        t.year = local.tm_year + 1900;
        t.month = local.tm_mon + 1;
        t.day = local.tm_mday;
        t.hour = local.tm_hour;
        t.minute = local.tm_min;
        t.second = local.tm_sec > 59 ? 59 : local.tm_sec;   // leap second
        t.millisecond = (int)(now.tv_nsec / 1000000);
        return t;
    }

    double ElapsedSeconds() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return now.tv_sec + now.tv_nsec / 1e9;
    }

    void Pause(int milliseconds) override {
        if (milliseconds <= 0) return;
        timespec left{milliseconds / 1000, (long)(milliseconds % 1000) * 1000000L};
        // A signal (a terminal resize) must not cut the pause short.
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }
};

}  // namespace

Clock* MakeSystemClock() { return new SystemClock; }
