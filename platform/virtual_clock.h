#pragma once
// A clock whose time moves only when told to, so tests and simulations run a
// whole update in no real time. Busy waits poll GetTickCount, so each poll
// lets one millisecond pass; Sleep lets the whole duration pass.

#include <cstdint>

#include "platform/clock.h"

namespace platform {

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::uint32_t start = 0) : now_(start) {}

  std::uint32_t GetTickCount() override { return now_++; }
  void Sleep(std::uint32_t milliseconds) override { Advance(milliseconds); }

  // The current time, without letting any pass.
  std::uint32_t Now() const { return now_; }
  void Advance(std::uint32_t milliseconds) { now_ += milliseconds; }

 private:
  std::uint32_t now_;  // wraps modulo 2^32 like the system's tick counter
};

}  // namespace platform
