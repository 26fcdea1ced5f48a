// The simulated device served on a pseudo-terminal, reached by the link
// through the Linux serial layer in real time.

#include "simulator/pty_server.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "link/Com_p04.h"
#include "platform/posix/monotonic_clock.h"
#include "platform/posix/posix_serial.h"

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
  static fs::path MakeComDir() {
    char pattern[] = "/tmp/kst-pty-XXXXXX";
    return mkdtemp(pattern);
  }

  fs::path com_dir = MakeComDir();
  sim::LoaderDevice device{{.variant = 3, .serial_number = 499999999}};
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

}  // namespace
