#pragma once
// What a started child tells the start-up benchmark through its pipe (the fd number is its last
// argument): when it painted its first frame, then when it came to rest (CLOCK_MONOTONIC).

#include <time.h>
#include <unistd.h>

namespace maps::bench {

struct StartRecord {
  double at = 0;
};

inline void tell_parent(int fd) {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  const StartRecord r{static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9};
  if (::write(fd, &r, sizeof r) != static_cast<ssize_t>(sizeof r)) ::_exit(1);
}

}  // namespace maps::bench
