// The COM-number naming rule on Linux.

#include "platform/posix/com_names.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using platform::posix::ComRoots;

namespace {

class ComNamesTest : public ::testing::Test {
 protected:
  ComNamesTest() {
    char pattern[] = "/tmp/kst-com-names-XXXXXX";
    dir_ = mkdtemp(pattern);
    roots_ = {"/devroot", dir_ / "com"};
    fs::create_directory(roots_.com_dir);
  }
  ~ComNamesTest() override { fs::remove_all(dir_); }

  fs::path dir_;
  ComRoots roots_;
};

TEST_F(ComNamesTest, DevNamesFollowTheThreeFamilies) {
  const struct {
    int com;
    const char* path;  // nullptr: no device
  } cases[] = {{1, "/devroot/ttyS0"},
               {32, "/devroot/ttyS31"},
               {33, "/devroot/ttyUSB0"},
               {64, "/devroot/ttyUSB31"},
               {65, "/devroot/ttyACM0"},
               {96, "/devroot/ttyACM31"},
               {97, nullptr},
               {0, nullptr},
               {-3, nullptr}};
  for (const auto& c : cases) {
    const auto path = platform::posix::DevicePathForCom(c.com, roots_);
    if (c.path == nullptr) {
      EXPECT_FALSE(path) << c.com;
    } else {
      EXPECT_EQ(path, fs::path(c.path)) << c.com;
    }
  }
}

TEST_F(ComNamesTest, ALinkInTheComDirTakesPrecedenceEvenBeyondTheFamilies) {
  fs::create_symlink("/dev/pts/nowhere", roots_.com_dir / "COM33");
  fs::create_symlink("/dev/pts/7", roots_.com_dir / "COM200");
  std::ofstream(roots_.com_dir / "COM34") << "not a link";
  EXPECT_EQ(platform::posix::DevicePathForCom(33, roots_), roots_.com_dir / "COM33");
  EXPECT_EQ(platform::posix::DevicePathForCom(200, roots_), roots_.com_dir / "COM200");
  EXPECT_EQ(platform::posix::DevicePathForCom(34, roots_), fs::path("/devroot/ttyUSB1"));
}

TEST_F(ComNamesTest, DeviceNameFileGivesTheMapName) {
  std::ofstream(roots_.com_dir / "COM5.device") << "\\Device\\Silabser5\n";
  EXPECT_EQ(platform::posix::ComDeviceName(5, roots_), "\\Device\\Silabser5");
  EXPECT_FALSE(platform::posix::ComDeviceName(6, roots_));
}

TEST(ComNameParsingTest, NamesToNumbersAndBack) {
  const struct {
    const char* tty;
    std::optional<int> com;
  } ttys[] = {{"ttyS0", 1},
              {"ttyUSB2", 35},
              {"ttyACM31", 96},
              {"ttyACM32", std::nullopt},
              {"ttyS01", std::nullopt},
              {"ttyUSB", std::nullopt},
              {"tty0", std::nullopt},
              {"ttyS-1", std::nullopt}};
  for (const auto& c : ttys) {
    EXPECT_EQ(platform::posix::ComForTtyName(c.tty), c.com) << c.tty;
    if (c.com) {
      EXPECT_EQ(platform::posix::TtyNameForCom(*c.com), c.tty);
    }
  }
  const struct {
    const char* name;
    std::optional<int> com;
  } links[] = {{"COM12", 12},
               {"COM0", std::nullopt},
               {"COM", std::nullopt},
               {"com3", std::nullopt},
               {"COM3.device", std::nullopt}};
  for (const auto& c : links) EXPECT_EQ(platform::posix::ComForLinkName(c.name), c.com) << c.name;
}

TEST(ComNameParsingTest, ComDirComesFromTheEnvironment) {
  setenv("KST90_COM_DIR", "/srv/ports", 1);
  EXPECT_EQ(platform::posix::DefaultComRoots().com_dir, fs::path("/srv/ports"));
  setenv("KST90_COM_DIR", "", 1);
  EXPECT_EQ(platform::posix::DefaultComRoots().com_dir, fs::path("/tmp/kst90-com"));
  unsetenv("KST90_COM_DIR");
  EXPECT_EQ(platform::posix::DefaultComRoots().com_dir, fs::path("/tmp/kst90-com"));
  EXPECT_EQ(platform::posix::DefaultComRoots().dev_dir, fs::path("/dev"));
}

}  // namespace
