#pragma once
// What the benchmarks measure besides wall time: the heap the process holds, and the CPU time of the calling
// thread (the GUI thread's work, steady while other processes load the machine).
#include <malloc.h>
#include <time.h>

#include <cstddef>

namespace bench {

// malloc's bytes in use, small blocks and mapped ones.
inline std::size_t HeapInUse() {
  struct mallinfo2 mi = mallinfo2();
  return mi.uordblks + mi.hblkhd;
}

inline double ThreadCpuNs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

}  // namespace bench
