// Measuring helpers shared by the benchmarks.
#pragma once

#include <sys/resource.h>

namespace bench {

// Processor time (user + system) of the calling thread, in seconds: the program's own thread,
// without the simulated sensor's.
inline double ThreadCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// Peak resident memory of the process so far, in kB.
inline long PeakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace bench
