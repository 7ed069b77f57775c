// Processor time of the calling thread only (the simulated sensor and Qt's helper threads run
// beside the thread under test and must not count against its budget).
#pragma once

#include <ctime>

namespace tintra::test {

inline double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

} // namespace tintra::test
