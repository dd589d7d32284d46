#pragma once
// Wall-clock seconds, processor seconds (user + system) and peak resident
// memory, printed in one line the bench scripts read:
// "seconds=S cpu=C peak_kib=K" plus whatever the caller adds. The processor
// time stays meaningful when other work shares the machine.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace bench {

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// who: RUSAGE_SELF or RUSAGE_CHILDREN; Linux reports ru_maxrss in KiB.
inline void PrintResult(double seconds, int who) {
  rusage usage{};
  getrusage(who, &usage);
  const double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  std::printf("seconds=%.3f cpu=%.3f peak_kib=%ld", seconds, cpu, usage.ru_maxrss);
}

}  // namespace bench
