// The in-process serial ports: opening rules, virtual-time transfers, line
// framing, purge, and the adapter pulled out.

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"

namespace {

constexpr platform::CommTimeouts kLinkTimeouts{500, 100, 1000, 100, 1000};

class SimulatedSerialTest : public ::testing::Test {
 protected:
  SimulatedSerialTest() { serial.AddDevice(3); }

  // Opens COM3 with the loader's framing at the given rate.
  platform::PortHandle OpenLine(std::uint32_t rate = 9600) {
    const platform::PortHandle port = serial.CreateFileA("\\\\.\\COM3");
    platform::Dcb dcb{};
    serial.GetCommState(port, dcb);
    dcb.BaudRate = rate;
    dcb.Parity = platform::kEvenParity;
    serial.SetCommState(port, dcb);
    serial.SetCommTimeouts(port, kLinkTimeouts);
    return port;
  }
  std::uint8_t Send(platform::PortHandle port, std::uint8_t byte) {
    std::uint32_t written = 0;
    EXPECT_TRUE(serial.WriteFile(port, &byte, 1, written));
    return byte;
  }
  // The next byte read, or -1 when the read timed out.
  int Read(platform::PortHandle port) {
    std::uint8_t byte = 0;
    std::uint32_t read = 0;
    EXPECT_TRUE(serial.ReadFile(port, &byte, 1, read));
    return read == 1 ? byte : -1;
  }

  platform::VirtualClock clock{100};
  sim::SimulatedSerial serial{clock};
};

TEST_F(SimulatedSerialTest, OpensOnlyAPresentFreePort) {
  EXPECT_EQ(serial.CreateFileA("\\\\.\\COM8"), platform::kInvalidHandle);
  EXPECT_EQ(serial.GetLastError(), platform::kErrorFileNotFound);
  EXPECT_EQ(serial.CreateFileA("COM3"), platform::kInvalidHandle);

  const platform::PortHandle port = serial.CreateFileA("\\\\.\\COM3");
  ASSERT_NE(port, platform::kInvalidHandle);
  EXPECT_EQ(serial.CreateFileA("\\\\.\\COM3"), platform::kInvalidHandle);
  EXPECT_EQ(serial.GetLastError(), platform::kErrorAccessDenied);
  EXPECT_TRUE(serial.CloseHandle(port));
  EXPECT_FALSE(serial.CloseHandle(port));
  EXPECT_EQ(serial.GetLastError(), platform::kErrorInvalidHandle);
  EXPECT_NE(serial.CreateFileA("\\\\.\\COM3"), platform::kInvalidHandle);
}

TEST_F(SimulatedSerialTest, ReadsWaitInVirtualTime) {
  const platform::PortHandle port = OpenLine();
  std::uint32_t start = clock.Now();
  EXPECT_EQ(Read(port), -1);
  EXPECT_EQ(clock.Now() - start, 1100u);

  std::uint8_t three[3];
  std::uint32_t read = 0;
  start = clock.Now();
  EXPECT_TRUE(serial.ReadFile(port, three, 3, read));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(clock.Now() - start, 1300u);

  // The answer comes after the turnaround and one byte time at 9600 baud.
  start = clock.Now();
  Send(port, sim::kWakeUp);
  EXPECT_EQ(Read(port), sim::kReady);
  EXPECT_EQ(clock.Now() - start, 2u + 2u);
}

TEST_F(SimulatedSerialTest, DifferentFramingOnTheTwoSidesGivesGarbage) {
  const platform::PortHandle fast = OpenLine(19200);
  Send(fast, sim::kWakeUp);
  EXPECT_EQ(Read(fast), -1);  // the device heard no wake-up
  EXPECT_FALSE(serial.Device(3).Awake());
  serial.CloseHandle(fast);

  const platform::PortHandle port = OpenLine();
  Send(port, sim::kWakeUp);
  EXPECT_EQ(Read(port), sim::kReady);
  for (const char c : std::string("\x9E"
                                  "0A"))
    Send(port, static_cast<std::uint8_t>(c));
  EXPECT_EQ(Read(port), sim::kAck);
  EXPECT_EQ(Read(port), sim::kAck);
  Send(port, sim::kReadVariant);  // the device runs at 115200 now, the host still at 9600
  EXPECT_EQ(Read(port), -1);

  platform::Dcb dcb{};
  serial.GetCommState(port, dcb);
  dcb.BaudRate = 115200;
  serial.SetCommState(port, dcb);
  Send(port, sim::kReadVariant);
  EXPECT_EQ(Read(port), '0');
  Send(port, sim::kAck);
  dcb.BaudRate = 9600;  // the answer's second character, sent at 115200, read at 9600
  serial.SetCommState(port, dcb);
  const int garbled = Read(port);
  EXPECT_NE(garbled, '1');
  EXPECT_NE(garbled, -1);
}

TEST_F(SimulatedSerialTest, PurgeDropsWhatArrivedButNotWhatIsStillOnTheLine) {
  const platform::PortHandle port = OpenLine();
  Send(port, sim::kWakeUp);
  EXPECT_TRUE(serial.PurgeComm(port, platform::kPurgeRxClear));
  EXPECT_EQ(Read(port), sim::kReady);  // still 4 ms away when purged

  Send(port, sim::kUnlock);
  clock.Advance(10);
  EXPECT_TRUE(serial.PurgeComm(port, platform::kPurgeRxClear | platform::kPurgeTxClear));
  EXPECT_EQ(Read(port), -1);
}

TEST_F(SimulatedSerialTest, APulledOutAdapterFailsItsHandleAndItsOpensUntilPluggedBack) {
  const platform::PortHandle port = OpenLine();
  serial.UnplugAfterBytes(3, 2);
  Send(port, sim::kWakeUp);
  EXPECT_TRUE(serial.IsPlugged(3));
  Send(port, sim::kUnlock);
  EXPECT_FALSE(serial.IsPlugged(3));

  std::uint8_t byte = 0;
  std::uint32_t count = 0;
  EXPECT_FALSE(serial.ReadFile(port, &byte, 1, count));
  EXPECT_EQ(serial.GetLastError(), platform::kErrorGenFailure);
  platform::Dcb dcb{};
  EXPECT_FALSE(serial.SetCommState(port, dcb));
  EXPECT_EQ(serial.CreateFileA("\\\\.\\COM3"), platform::kInvalidHandle);
  EXPECT_EQ(serial.GetLastError(), platform::kErrorFileNotFound);
  EXPECT_TRUE(serial.CloseHandle(port));

  serial.PlugIn(3);
  EXPECT_NE(serial.CreateFileA("\\\\.\\COM3"), platform::kInvalidHandle);
}

TEST_F(SimulatedSerialTest, StalledWritesTimeOutWithoutSending) {
  const platform::PortHandle port = OpenLine();
  serial.StallWrites(3, true);
  const std::uint8_t byte = sim::kWakeUp;
  std::uint32_t written = 7;
  const std::uint32_t start = clock.Now();
  EXPECT_TRUE(serial.WriteFile(port, &byte, 1, written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(clock.Now() - start, 1100u);
  EXPECT_EQ(serial.Device(3).BytesReceived(), 0u);
}

}  // namespace
