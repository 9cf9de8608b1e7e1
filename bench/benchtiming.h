#ifndef ZENTAVO_BENCH_BENCHTIMING_H
#define ZENTAVO_BENCH_BENCHTIMING_H

#include <QList>

#include <algorithm>
#include <ctime>
#include <functional>

// This thread's CPU time, so other work on a shared machine does not distort it.
inline double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The median of the job's CPU time over the rounds, in milliseconds.
inline double medianMs(int rounds, const std::function<void()>& job)
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = threadCpuMs();
        job();
        times.append(threadCpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

#endif
