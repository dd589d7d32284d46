#pragma once
// Wall-clock seconds and peak resident memory, printed in one line the bench
// scripts read: "seconds=S peak_kib=K" plus whatever the caller adds.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace bench {

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// who: RUSAGE_SELF or RUSAGE_CHILDREN; Linux reports ru_maxrss in KiB.
inline long PeakKib(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss;
}

inline void PrintResult(double seconds, long peakKib) {
  std::printf("seconds=%.3f peak_kib=%ld", seconds, peakKib);
}

}  // namespace bench
