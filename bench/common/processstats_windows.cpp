#include "processstats.h"

#include <QtGlobal>
// psapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

namespace huddlex::bench {

long peakMemoryKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return long(counters.PeakWorkingSetSize / 1024);
}

double cpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return ((quint64(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0; // 100 ns units
    };
    return ms(kernel) + ms(user);
}

} // namespace huddlex::bench
