// The Win32 serial layer: failures come back with the system's own codes.

#include "platform/win32/win32_serial.h"

#include <gtest/gtest.h>

#include "link/Com_p04.h"
#include "platform/win32/tick_clock.h"

namespace {

TEST(Win32SerialTest, AMissingPortIsNotFound) {
  platform::win32::Win32Serial serial;
  platform::win32::TickClock clock;
  CP04 link(serial, clock);
  link.SetPort(251);
  EXPECT_EQ(link.Open(), static_cast<std::int32_t>(platform::kErrorFileNotFound));
  EXPECT_FALSE(link.IsOpen());
}

TEST(Win32SerialTest, CallsOnABadHandleFailWithTheirErrorCode) {
  platform::win32::Win32Serial serial;
  platform::Dcb dcb{};
  EXPECT_FALSE(serial.GetCommState(platform::kInvalidHandle, dcb));
  EXPECT_EQ(serial.GetLastError(), platform::kErrorInvalidHandle);
}

TEST(Win32SerialTest, SleepLetsTheTicksPass) {
  platform::win32::TickClock clock;
  const std::uint32_t start = clock.GetTickCount();
  clock.Sleep(40);
  EXPECT_GE(clock.GetTickCount() - start, 30u);  // the tick counter moves in steps of up to 16 ms
}

}  // namespace
