// The serial port channel: construction, opening and closing, transfers,
// purge, waits and result codes.

#include <cstring>
#include <functional>

#include "tests/link/link_fixture.h"

namespace {

TEST_F(LinkTest, NewLinkHoldsTheLoaderLineSettingsAndTouchesNothing) {
  platform::VirtualClock fresh_clock;
  sim::SimulatedSerial fresh_serial(fresh_clock);
  CP04 fresh(fresh_serial, fresh_clock);

  platform::Dcb expected{};
  expected.DCBlength = 28;
  expected.BaudRate = 9600;
  expected.fBinary = 1;
  expected.fParity = 1;
  expected.fDtrControl = 0;
  expected.fRtsControl = 1;
  expected.XonLim = 100;
  expected.XoffLim = 100;
  expected.ByteSize = 8;
  expected.Parity = 2;
  expected.StopBits = 0;
  expected.XonChar = 1;
  expected.XoffChar = 2;
  expected.ErrorChar = 4;
  expected.EvtChar = 3;
  EXPECT_EQ(std::memcmp(&fresh.GetSettings(), &expected, sizeof expected), 0);
  const platform::CommTimeouts& t = fresh.GetTimeouts();
  EXPECT_EQ((std::vector<std::uint32_t>{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                                        t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                                        t.WriteTotalTimeoutConstant}),
            (std::vector<std::uint32_t>{500, 100, 1000, 100, 1000}));
  EXPECT_EQ(fresh.GetPort(), 2);
  EXPECT_EQ(fresh.GetConnected(), 0u);
  EXPECT_EQ(fresh.GetLoaderState(), kLoaderIdle);
  EXPECT_EQ(fresh.GetRetryLimit(), 0u);
  EXPECT_EQ(fresh.LastResult(), kLinkOk);
  EXPECT_FALSE(fresh.IsOpen());
  EXPECT_EQ(fresh_serial.CallCount(), 0u);
}

TEST_F(LinkTest, OpensCom2UnlessAnotherPortWasSet) {
  platform::VirtualClock fresh_clock;
  sim::SimulatedSerial fresh_serial(fresh_clock);
  fresh_serial.AddDevice(2);
  CP04 fresh(fresh_serial, fresh_clock);
  fresh.SetPort(-1);
  EXPECT_EQ(fresh.GetPort(), 2);
  EXPECT_EQ(fresh.Open(), kLinkOk);
  EXPECT_TRUE(fresh_serial.IsOpen(2));
}

TEST_F(LinkTest, OpenAppliesTheLineAndCloseGivesThePortItsOwnSettingsBack) {
  const platform::Dcb own = serial.LineSettings(kDeviceCom);
  ASSERT_EQ(link.Open(), kLinkOk);
  EXPECT_EQ(serial.LineSettings(kDeviceCom).BaudRate, 9600u);
  EXPECT_EQ(serial.LineSettings(kDeviceCom).Parity, platform::kEvenParity);
  EXPECT_EQ(serial.Timeouts(kDeviceCom).ReadTotalTimeoutConstant, 1000u);

  EXPECT_EQ(link.Close(), kLinkOk);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(serial.IsOpen(kDeviceCom));
  EXPECT_EQ(std::memcmp(&serial.LineSettings(kDeviceCom), &own, sizeof own), 0);
  EXPECT_EQ(serial.Timeouts(kDeviceCom).ReadTotalTimeoutConstant, 0u);
}

TEST_F(LinkTest, OpenOnAnOpenLinkClosesTheFirstPortAndOpensTheNewOne) {
  serial.AddDevice(7);
  const platform::Dcb own = serial.LineSettings(kDeviceCom);
  ASSERT_EQ(link.Open(), kLinkOk);
  link.SetPort(7);
  ASSERT_EQ(link.Open(), kLinkOk);
  EXPECT_FALSE(serial.IsOpen(kDeviceCom));
  EXPECT_EQ(serial.LineSettings(kDeviceCom).BaudRate, own.BaudRate);
  EXPECT_TRUE(serial.IsOpen(7));
}

TEST_F(LinkTest, OpenReportsTheSystemErrorOfAMissingOrTakenPort) {
  link.SetPort(9);
  EXPECT_EQ(link.Open(), static_cast<std::int32_t>(platform::kErrorFileNotFound));
  EXPECT_FALSE(link.IsOpen());

  const platform::PortHandle other_program = serial.CreateFileA("\\\\.\\COM4");
  link.SetPort(kDeviceCom);
  EXPECT_EQ(link.Open(), static_cast<std::int32_t>(platform::kErrorAccessDenied));
  EXPECT_EQ(link.LastResult(), static_cast<std::int32_t>(platform::kErrorAccessDenied));
  EXPECT_FALSE(link.IsOpen());
  serial.CloseHandle(other_program);
}

TEST_F(LinkTest, SetBaudRateKeepsToTheAllowedList) {
  const struct {
    std::int32_t requested;
    std::uint32_t applied;
  } cases[] = {{12345, 9600}, {256000, 256000}, {110, 110}, {56000, 56000}, {-1, 9600}};
  for (const auto& c : cases) {
    const std::size_t calls = serial.CallCount();
    EXPECT_EQ(link.SetBaudRate(c.requested), kLinkOk) << c.requested;
    EXPECT_EQ(link.GetSettings().BaudRate, c.applied) << c.requested;
    EXPECT_EQ(serial.CallCount(), calls) << "closed port, yet a system call: " << c.requested;
  }
  ASSERT_EQ(link.Open(), kLinkOk);
  EXPECT_EQ(link.SetBaudRate(128000), kLinkOk);
  EXPECT_EQ(serial.LineSettings(kDeviceCom).BaudRate, 128000u);
}

TEST_F(LinkTest, OperationsOnAClosedPortFailAtOnceWithoutASystemCall) {
  const std::vector<std::pair<const char*, std::function<std::int32_t()>>> operations = {
      {"WriteByte", [&] { return link.WriteByte(1); }},
      {"ReadByte",
       [&] {
         std::int32_t b = 7;
         return link.ReadByte(b);
       }},
      {"Purge", [&] { return link.Purge(); }},
      {"Disconnect", [&] { return link.Disconnect(); }},
  };
  for (const auto& [name, operation] : operations) {
    const std::uint32_t start = clock.Now();
    EXPECT_EQ(operation(), kLinkPortNotOpen) << name;
    EXPECT_EQ(link.LastResult(), kLinkPortNotOpen) << name;
    EXPECT_EQ(Elapsed(start), 0u) << name;
  }
  EXPECT_EQ(serial.CallCount(), 0u);
  EXPECT_EQ(link.Close(), kLinkOk);
}

TEST_F(LinkTest, ReadingASilentLineGivesUpAfterTheReadTimeOuts) {
  device->faults().silent = true;
  ASSERT_EQ(link.Open(), kLinkOk);
  std::int32_t out = 77;
  const std::uint32_t start = clock.Now();
  EXPECT_EQ(link.ReadByte(out), kLinkNoReply);
  EXPECT_EQ(Elapsed(start), 1100u);
  EXPECT_EQ(out, 77);
}

TEST_F(LinkTest, PurgeWaitsASecondAndDropsWhatArrived) {
  ASSERT_EQ(link.Open(), kLinkOk);
  ASSERT_EQ(link.WriteByte(sim::kWakeUp), kLinkOk);  // the answer 129 is on its way
  const std::uint32_t start = clock.Now();
  EXPECT_EQ(link.Purge(), kLinkOk);
  EXPECT_GE(Elapsed(start), 1000u);
  std::int32_t out = -1;
  EXPECT_EQ(link.ReadByte(out), kLinkNoReply);
}

// Near the 32-bit wrap of the tick counter an end tick computed in advance
// wraps too; the waits must still last as long as asked.
TEST_F(LinkTest, WaitLastsItsTimeAcrossTheTickWrap) {
  for (const std::uint32_t start : {0xFFFFFFFFu - 50, 0xFFFFFFFFu, 0u}) {
    platform::VirtualClock wrap_clock(start);
    CP04 wrap_link(serial, wrap_clock);
    wrap_link.Wait(100);
    EXPECT_GE(wrap_clock.Now() - start, 100u) << start;
    EXPECT_LE(wrap_clock.Now() - start, 102u) << start;
  }
}

TEST_F(LinkTest, ConnectMakesOneAttemptAcrossTheTickWrap) {
  // Started 1200 ms before the wrap, the one-second budget ends before the
  // wrap while the attempt ends after it: an absolute deadline never comes.
  platform::VirtualClock wrap_clock(0xFFFFFFFFu - 1200);
  sim::SimulatedSerial wrap_serial(wrap_clock);
  wrap_serial.AddDevice(kDeviceCom).faults().silent = true;
  CP04 wrap_link(wrap_serial, wrap_clock);
  wrap_link.SetPort(kDeviceCom);
  EXPECT_EQ(wrap_link.Connect(1), kLinkNoReply);
  EXPECT_EQ(Text(wrap_serial.Device(kDeviceCom).BytesInLog(sim::Direction::kToDevice)), "\x80");
}

TEST_F(LinkTest, AWriteThatTimesOutIsAFailure) {
  ASSERT_EQ(link.Open(), kLinkOk);
  serial.StallWrites(kDeviceCom, true);
  EXPECT_EQ(link.WriteByte(0x55), static_cast<std::int32_t>(platform::kErrorSemTimeout));
  EXPECT_EQ(link.LastResult(), static_cast<std::int32_t>(platform::kErrorSemTimeout));
}

TEST_F(LinkTest, LastResultKeepsTheLastCodeThroughWaitsAndPureCalls) {
  EXPECT_EQ(link.Unlock(), kLinkNotConnected);
  link.Wait(5);
  link.SetPort(3);
  EXPECT_EQ(CP04::HexPairValue('1', '2'), 18);
  EXPECT_STREQ(CP04::DeviceName(), "Satellite de la KST90 SII");
  EXPECT_EQ(link.LastResult(), kLinkNotConnected);
}

}  // namespace
