#pragma once
// The Windows tick counter and Sleep.

#include "platform/clock.h"

namespace platform::win32 {

class TickClock final : public Clock {
 public:
  std::uint32_t GetTickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace platform::win32
