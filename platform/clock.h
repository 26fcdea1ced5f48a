#pragma once
// Time as the link and the user interface see it: a millisecond tick counter
// that wraps after 2^32 - 1, and a way to suspend the calling thread.

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, modulo 2^32. Busy waits call this
  // in a loop, so a virtual clock must let time pass on each call.
  virtual std::uint32_t GetTickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace platform
