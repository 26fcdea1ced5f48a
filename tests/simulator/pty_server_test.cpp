// The simulated device served on a pseudo-terminal, reached by the link
// through the Linux serial layer in real time.

#include "simulator/pty_server.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "link/Com_p04.h"
#include "platform/posix/monotonic_clock.h"
#include "platform/posix/posix_serial.h"
#include "simulator/line.h"

namespace fs = std::filesystem;

namespace {

class PtyServerTest : public ::testing::Test {
 protected:
  PtyServerTest() {
    fs::create_symlink(server.HostPath(), com_dir / "COM9");
    link.SetPort(9);
  }
  ~PtyServerTest() override {
    stop = 1;
    if (serving.joinable()) serving.join();
    fs::remove_all(com_dir);
  }
  void StartServing(std::optional<std::size_t> unplug_after = std::nullopt) {
    serving = std::thread([this, unplug_after] { server.Serve(stop, unplug_after); });
  }
  void StopServing() {
    stop = 1;
    serving.join();
  }
  static fs::path MakeComDir() {
    char pattern[] = "/tmp/kst-pty-XXXXXX";
    return mkdtemp(pattern);
  }

  fs::path com_dir = MakeComDir();
  sim::LoaderDevice device{{.variant = 3, .serial_number = 499999999, .turnaround_ms = 16}};
  sim::PtyServer server{device};
  volatile std::sig_atomic_t stop = 0;
  std::thread serving;
  platform::posix::PosixSerial serial{{"/nonexistent-dev", com_dir}};
  platform::posix::MonotonicClock clock;
  CP04 link{serial, clock};
};

TEST_F(PtyServerTest, TheLinkTalksToTheServedDevice) {
  StartServing();
  ASSERT_EQ(link.Connect(1), kLinkOk);
  EXPECT_EQ(link.CheckIdentity(), kLinkOk);
  std::int32_t variant = 0;
  EXPECT_EQ(link.ReadVariant(variant), kLinkOk);
  EXPECT_EQ(variant, 3);
  std::uint32_t serial_number = 0;
  EXPECT_EQ(link.ReadSerialNumber(serial_number), kLinkOk);
  EXPECT_EQ(serial_number, 499999999u);
  // The device follows the host to another rate and back again.
  EXPECT_EQ(link.SetLoaderBaudRate(57600), kLinkOk);
  EXPECT_EQ(link.ReadVariant(variant), kLinkOk);
  EXPECT_EQ(link.Disconnect(), kLinkOk);
  EXPECT_FALSE(device.Awake());
  EXPECT_EQ(device.BaudRate(), 9600u);
}

TEST_F(PtyServerTest, AHungUpLineFailsTheLinkWithASystemError) {
  StartServing(3);  // the wake-up, 131, 144
  ASSERT_EQ(link.Connect(1), kLinkOk);
  ASSERT_EQ(link.Unlock(), kLinkOk);
  EXPECT_EQ(link.StartProgramming(), static_cast<std::int32_t>(platform::kErrorDeviceNotConnected));
}

// The line is paced as a real one: the bytes of a command reach the device
// one byte time apart, the answer comes a turnaround and a byte time after
// the last of them, and the host waits for it in real time; after a rate
// change through 158 both directions run at the new rate's byte time.
TEST_F(PtyServerTest, BytesTakeTheirWireTimeAtTheLineRate) {
  StartServing();
  ASSERT_EQ(link.Connect(1), kLinkOk);
  ASSERT_EQ(link.Unlock(), kLinkOk);
  ASSERT_EQ(link.StartProgramming(), kLinkOk);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(link.WriteProgramWord(100, 0x1234), kLinkOk);
  const auto took = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(link.SetLoaderBaudRate(57600), kLinkOk);
  ASSERT_EQ(link.WriteProgramWord(101, 0x5678), kLinkOk);
  StopServing();

  const auto turnaround = std::chrono::milliseconds(16);
  EXPECT_GE(took, 10 * sim::WireTime(9600) + turnaround);
  // Each program word: 141, eight characters, then the acknowledgement.
  const std::vector<sim::PtyServer::TimedByte>& timeline = server.Timeline();
  std::vector<std::size_t> commands;
  for (std::size_t i = 0; i < timeline.size(); ++i) {
    if (timeline[i].direction == sim::Direction::kToDevice && timeline[i].byte == 141) {
      commands.push_back(i);
    }
  }
  ASSERT_EQ(commands.size(), 2u);
  for (const auto& [first, rate] : {std::pair{commands[0], 9600u}, {commands[1], 57600u}}) {
    SCOPED_TRACE(rate);
    ASSERT_LT(first + 9, timeline.size());
    for (std::size_t i = first + 1; i <= first + 8; ++i) {
      EXPECT_EQ(timeline[i].direction, sim::Direction::kToDevice);
      EXPECT_GE(timeline[i].at - timeline[i - 1].at, sim::WireTime(rate));
    }
    EXPECT_EQ(timeline[first + 9].direction, sim::Direction::kFromDevice);
    EXPECT_EQ(timeline[first + 9].byte, 132);
    EXPECT_EQ(timeline[first + 9].at - timeline[first + 8].at, turnaround + sim::WireTime(rate));
  }
}

}  // namespace
