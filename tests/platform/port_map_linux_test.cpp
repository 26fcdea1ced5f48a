#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/posix/serial_port_map_linux.h"

namespace {

namespace fs = std::filesystem;
using platform::SerialPortMapValue;
using Values = std::vector<std::pair<std::string, std::string>>;

// A throw-away /dev, /sys and com dir; regular files stand for device nodes.
class FakeMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("kst_port_map_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    for (const char* dir : {"dev", "sys/class/tty", "sys/drivers/cp210x", "sys/drivers/ftdi_sio",
                            "sys/drivers/serial8250", "com"}) {
      fs::create_directories(root_ / dir);
    }
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  // A device node, and its sysfs entry with the UART type and driver given.
  void AddTty(const std::string& tty, const std::string& uart_type, const std::string& driver) {
    Write(root_ / "dev" / tty, "");
    const fs::path class_dir = root_ / "sys/class/tty" / tty;
    fs::create_directories(class_dir / "device");
    if (!uart_type.empty()) Write(class_dir / "type", uart_type + "\n");
    if (!driver.empty())
      fs::create_directory_symlink(root_ / "sys/drivers" / driver, class_dir / "device/driver");
  }
  void AddComLink(const std::string& name, const fs::path& target) {
    fs::create_symlink(target, root_ / "com" / name);
  }

  Values Read() {
    platform::posix::LinuxSerialPortMap map({root_ / "dev", root_ / "sys", root_ / "com"});
    const auto values = map.Read();
    EXPECT_TRUE(values.has_value());
    Values pairs;
    for (const SerialPortMapValue& v : values.value_or(std::vector<SerialPortMapValue>{})) {
      pairs.emplace_back(v.name, v.data);
    }
    return pairs;
  }

  fs::path root_;
};

TEST_F(FakeMachine, NamesEachKindOfPortAsWindowsWould) {
  AddTty("ttyS0", "4", "serial8250");
  AddTty("ttyS1", "0", "serial8250");  // reserved, no UART behind it
  AddTty("ttyS2", "", "");             // no sysfs information
  AddTty("ttyUSB0", "", "ftdi_sio");
  AddTty("ttyUSB3", "", "cp210x");
  AddTty("ttyACM1", "", "");
  AddTty("ttyUSB32", "", "cp210x");  // beyond the 32 numbers per family
  AddTty("ttyUSB01", "", "cp210x");  // not a kernel name
  Write(root_ / "dev/tty1", "");
  EXPECT_EQ(Read(), (Values{{"\\Device\\Serial0", "COM1"},
                            {"\\Device\\VCP0", "COM33"},
                            {"\\Device\\Silabser3", "COM36"},
                            {"\\Device\\USBSER1", "COM66"}}));
}

TEST_F(FakeMachine, ComDirLinksTakeTheirNumberAndName) {
  AddTty("ttyS0", "4", "serial8250");
  AddTty("ttyUSB0", "", "ftdi_sio");
  Write(root_ / "pts3", "");
  AddComLink("COM33", root_ / "pts3");  // replaces ttyUSB0's entry
  Write(root_ / "com/COM33.device", "\\Device\\Silabser0\n");
  AddComLink("COM7", root_ / "pts3");  // no .device file
  AddComLink("COM8", root_ / "gone");  // dangling: the device has gone
  AddComLink("COMX", root_ / "pts3");
  Write(root_ / "com/COM9", "");  // not a link
  EXPECT_EQ(Read(), (Values{{"\\Device\\Serial0", "COM1"},
                            {"\\Device\\Attached7", "COM7"},
                            {"\\Device\\Silabser0", "COM33"}}));
}

TEST_F(FakeMachine, MapExistsEvenWithoutPortsOrDirectories) {
  EXPECT_EQ(Read(), Values{});
  fs::remove_all(root_);
  EXPECT_EQ(Read(), Values{});
}

}  // namespace
