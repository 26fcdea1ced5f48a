#pragma once
// Milliseconds of CLOCK_MONOTONIC, truncated to 32 bits like the Windows
// tick counter.

#include "platform/clock.h"

namespace platform::posix {

class MonotonicClock final : public Clock {
 public:
  std::uint32_t GetTickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace platform::posix
