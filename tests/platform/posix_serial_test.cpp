// The Linux serial layer under the link, on a real pseudo-terminal whose
// other end plays the device. Real time.

#include "platform/posix/posix_serial.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "link/Com_p04.h"
#include "platform/posix/monotonic_clock.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCom = 5;

class PosixSerialTest : public ::testing::Test {
 protected:
  PosixSerialTest() {
    device_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(device_);
    unlockpt(device_);
    fs::create_symlink(ptsname(device_), dir_ / ("COM" + std::to_string(kCom)));
    link.SetPort(kCom);
  }
  ~PosixSerialTest() override {
    link.Close();
    close(device_);
    fs::remove_all(dir_);
  }

  // The line settings as the device end sees them.
  termios2 DeviceSideLine() const {
    termios2 line{};
    ioctl(device_, TCGETS2, &line);
    return line;
  }
  int ReadAtDevice() const {
    pollfd ready{device_, POLLIN, 0};
    std::uint8_t byte = 0;
    if (poll(&ready, 1, 2000) != 1 || read(device_, &byte, 1) != 1) return -1;
    return byte;
  }

  static fs::path MakeComDir() {
    char pattern[] = "/tmp/kst-serial-XXXXXX";
    return mkdtemp(pattern);
  }

  fs::path dir_ = MakeComDir();
  int device_ = -1;
  platform::posix::PosixSerial serial{{"/nonexistent-dev", dir_}};
  platform::posix::MonotonicClock clock;
  CP04 link{serial, clock};
};

TEST_F(PosixSerialTest, ASilentLineGivesNoReplyAfterTheReadTimeOuts) {
  ASSERT_EQ(link.Open(), kLinkOk);
  std::int32_t out = -5;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.ReadByte(out), kLinkNoReply);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(1095));
  EXPECT_LE(elapsed, std::chrono::milliseconds(1400));
  EXPECT_EQ(out, -5);
}

TEST_F(PosixSerialTest, APortHeldElsewhereIsDeniedAndAMissingOneIsNotFound) {
  ASSERT_EQ(link.Open(), kLinkOk);
  platform::posix::PosixSerial other_program({"/nonexistent-dev", dir_});
  EXPECT_EQ(other_program.CreateFileA("\\\\.\\COM5"), platform::kInvalidHandle);
  EXPECT_EQ(other_program.GetLastError(), platform::kErrorAccessDenied);
  EXPECT_EQ(other_program.CreateFileA("\\\\.\\COM6"), platform::kInvalidHandle);
  EXPECT_EQ(other_program.GetLastError(), platform::kErrorFileNotFound);

  ASSERT_EQ(link.Close(), kLinkOk);
  const platform::PortHandle port = other_program.CreateFileA("\\\\.\\COM5");
  EXPECT_NE(port, platform::kInvalidHandle);
  EXPECT_TRUE(other_program.CloseHandle(port));
}

TEST_F(PosixSerialTest, SettingsAndBytesReachTheOtherEndAndTheOldSettingsComeBack) {
  const termios2 before = DeviceSideLine();
  ASSERT_EQ(link.Open(), kLinkOk);
  const termios2 line = DeviceSideLine();
  EXPECT_EQ(line.c_ospeed, 9600u);
  // A pseudo-terminal has no parity bit to send and clears PARENB; the
  // parity check asked for still shows as INPCK.
  EXPECT_EQ(line.c_cflag & (CSIZE | PARODD | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
  EXPECT_NE(line.c_iflag & INPCK, 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);

  EXPECT_EQ(link.WriteByte(0x80), kLinkOk);
  EXPECT_EQ(ReadAtDevice(), 0x80);
  const std::uint8_t ready = 0x81;
  ASSERT_EQ(write(device_, &ready, 1), 1);
  std::int32_t got = 0;
  EXPECT_EQ(link.ReadByte(got), kLinkOk);
  EXPECT_EQ(got, 0x81);

  for (const std::int32_t rate : {14400, 56000, 128000, 256000, 115200}) {
    EXPECT_EQ(link.SetBaudRate(rate), kLinkOk);
    EXPECT_EQ(DeviceSideLine().c_ospeed, static_cast<speed_t>(rate));
  }

  ASSERT_EQ(link.Close(), kLinkOk);
  const termios2 after = DeviceSideLine();
  EXPECT_EQ(after.c_ospeed, before.c_ospeed);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
}

TEST(MonotonicClockTest, SleepLetsTheTicksPass) {
  platform::posix::MonotonicClock clock;
  const std::uint32_t start = clock.GetTickCount();
  clock.Sleep(30);
  EXPECT_GE(clock.GetTickCount() - start, 30u);
}

}  // namespace
