#include "platform/win32/tick_clock.h"

#include <windows.h>

#include <memory>

#include "platform/native_clock.h"

namespace platform {

namespace win32 {

std::uint32_t TickClock::GetTickCount() {
  return ::GetTickCount();
}

void TickClock::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

}  // namespace win32

std::unique_ptr<Clock> CreateNativeClock() {
  return std::make_unique<win32::TickClock>();
}

}  // namespace platform
