// The program in real time over a real serial line: the simulated device
// served on a pseudo-terminal and attached as a COM port, the program in
// its terminal front end against it, and the device's memories afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/exit_status.h"
#include "tests/realtime/child_process.h"
#include "tests/wizard/update_fixture.h"

namespace {

namespace fs = std::filesystem;
using kst_test::ChildProcess;
using kst_test::DeviceMemories;
using namespace std::chrono_literals;

// Longer than a whole update takes: the power-on wait's first tick, the
// check, and 325 rows at one per 100 ms tick.
constexpr auto kRunLimit = 90s;

class RealTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kst90-realtime-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::create_directory(dir_ / "com");
    fs::create_directory(dir_ / "windows");  // no settings file: French
    setenv("KST90_COM_DIR", (dir_ / "com").c_str(), 1);
    setenv("KST90_WINDOWS_DIR", (dir_ / "windows").c_str(), 1);
    std::ofstream(dir_ / "empty");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The simulated device attached as COM<com>, posing as the maker's adapter.
  std::unique_ptr<ChildProcess> StartDevice(int com, std::vector<std::string> options) {
    std::vector<std::string> command{KST_SIM,        "--com",  std::to_string(com),
                                     "--as-adapter", "--dump", Path("dump" + std::to_string(com))};
    command.insert(command.end(), options.begin(), options.end());
    auto device = std::make_unique<ChildProcess>(command, Path("empty"),
                                                 Path("device" + std::to_string(com) + ".log"));
    EXPECT_TRUE(device->WaitForOutput("attached as COM", 10s)) << device->Output();
    return device;
  }

  std::unique_ptr<ChildProcess> StartProgram(const std::vector<std::string>& options,
                                             const std::string& script = "") {
    const std::string input = Path("script" + std::to_string(++runs_));
    std::ofstream(input) << script;
    std::vector<std::string> command{KST_PROGRAM, "--terminal"};
    command.insert(command.end(), options.begin(), options.end());
    return std::make_unique<ChildProcess>(command, input, Path("run" + std::to_string(runs_)));
  }

  // Stops the device, which then writes its memories.
  DeviceMemories StopAndDump(ChildProcess& device, int com) {
    device.Signal(SIGTERM);
    EXPECT_EQ(device.Wait(10s), 0) << device.Output();
    return ReadDump(Path("dump" + std::to_string(com)));
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  static DeviceMemories ReadDump(const std::string& file) {
    DeviceMemories memories{};
    std::ifstream in(file);
    EXPECT_TRUE(in.good()) << file;
    std::string line;
    bool data = false;
    while (std::getline(in, line)) {
      if (line.starts_with("data memory")) data = true;
      const auto colon = line.find(':');
      if (colon == std::string::npos || line.find(' ') < colon) continue;
      std::size_t address = std::stoul(line.substr(0, colon), nullptr, 16);
      std::istringstream cells(line.substr(colon + 1));
      std::string cell;
      while (cells >> cell) {
        const auto value = std::stoul(cell, nullptr, 16);
        if (data) {
          memories.data.at(address++) = static_cast<std::uint8_t>(value);
        } else {
          memories.program.at(address++) = static_cast<std::uint16_t>(value);
        }
      }
    }
    return memories;
  }

  fs::path dir_;
  int runs_ = 0;
};

DeviceMemories Expected(const char* hex_file, sim::DeviceConfig config) {
  return kst_test::ExpectedAfterUpdate(hex_file, sim::LoaderDevice(config));
}

// Both images at once, one device and one program each, straight through
// with --port and no input at all.
TEST_F(RealTimeTest, FullUpdateOfEachImage) {
  auto device_a = StartDevice(5, {"--variant", "1"});
  auto device_b = StartDevice(6, {"--variant", "4"});
  auto run_a = StartProgram({"--port", "COM5", "--yes"});
  auto run_b = StartProgram({"--port", "COM6", "--yes"});
  EXPECT_EQ(run_a->Wait(kRunLimit), kExitUpdated) << run_a->Output();
  EXPECT_EQ(run_b->Wait(kRunLimit), kExitUpdated) << run_b->Output();
  EXPECT_NE(run_a->Output().find("Mise \xC3\xA0 jour r\xC3\xA9ussie"), std::string::npos);

  const DeviceMemories a = StopAndDump(*device_a, 5);
  const DeviceMemories expected_a = Expected("firmware_a.hex", {.variant = 1});
  EXPECT_EQ(a.program, expected_a.program);
  EXPECT_EQ(a.data, expected_a.data);
  const DeviceMemories b = StopAndDump(*device_b, 6);
  const DeviceMemories expected_b = Expected("firmware_b.hex", {.variant = 4});
  EXPECT_EQ(b.program, expected_b.program);
  EXPECT_EQ(b.data, expected_b.data);
}

// A script on standard input, as a user would type it; the device already
// holds 3.5, and No to the box ends the program with nothing written. The
// answer is named in full: a lone "n" would be taken by the power-on
// step's Cancel ("A[n]nuler"), the first screen to offer that key.
TEST_F(RealTimeTest, RefusalTypedByAScript) {
  auto device = StartDevice(7, {"--version", "3.5"});
  auto run = StartProgram({}, "s\ns\ns\ns\nCOM7\ns\nc\nNon\n");
  EXPECT_EQ(run->Wait(kRunLimit), kExitNotOlder) << run->Output();
  EXPECT_NE(
      run->Output().find("[Information]\nVotre Satellite de la KST90 SII a d\xC3\xA9j\xC3\xA0"),
      std::string::npos)
      << run->Output();

  const DeviceMemories after = StopAndDump(*device, 7);
  const sim::LoaderDevice untouched({.version_major = 3, .version_minor = 5});
  EXPECT_EQ(after.program, untouched.program());
  EXPECT_EQ(after.data, untouched.data());
}

// The device falls silent halfway through programming, as when the adapter
// is pulled out: the transmission-failure box, and the device holds part of
// the image. A second run on a working line then updates it whole.
TEST_F(RealTimeTest, AdapterPulledOutWhileProgrammingThenSecondRunSucceeds) {
  {
    auto device = StartDevice(8, {"--silent-after", "6000"});
    auto run = StartProgram({"--port", "COM8", "--no"});
    EXPECT_EQ(run->Wait(kRunLimit), kExitTransmissionFailure) << run->Output();
    const std::string output = run->Output();
    EXPECT_NE(output.find("[Erreur]\nUn Probl\xC3\xA8me de transmission"), std::string::npos)
        << output;
    EXPECT_NE(output.find("]  20 %"), std::string::npos) << output;
    EXPECT_EQ(output.find("100 %"), std::string::npos) << output;

    const DeviceMemories part = StopAndDump(*device, 8);
    const sim::LoaderDevice erased;
    EXPECT_NE(part.program, erased.program());
    EXPECT_NE(part.program, Expected("firmware_a.hex", {}).program);
  }
  auto device = StartDevice(8, {});
  auto run = StartProgram({"--port", "COM8", "--yes"});
  EXPECT_EQ(run->Wait(kRunLimit), kExitUpdated) << run->Output();
  const DeviceMemories after = StopAndDump(*device, 8);
  const DeviceMemories expected = Expected("firmware_a.hex", {});
  EXPECT_EQ(after.program, expected.program);
  EXPECT_EQ(after.data, expected.data);
}

}  // namespace
