#include "platform/posix/monotonic_clock.h"

#include <time.h>

#include <cerrno>
#include <memory>

#include "platform/native_clock.h"

namespace platform {

namespace posix {

std::uint32_t MonotonicClock::GetTickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                  static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

void MonotonicClock::Sleep(std::uint32_t milliseconds) {
  timespec left{static_cast<time_t>(milliseconds / 1000u),
                static_cast<long>(milliseconds % 1000u) * 1000000L};
  // A signal cuts nanosleep short; the rest of the time is slept again.
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

}  // namespace posix

std::unique_ptr<Clock> CreateNativeClock() {
  return std::make_unique<posix::MonotonicClock>();
}

}  // namespace platform
