#pragma once
// A headless wizard with one simulated device on COM4, posing as the maker's
// adapter, and what an update must leave in the device, worked out from the
// HEX files themselves rather than from the program's own decoder.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <string>

#include "simulator/loader_device.h"
#include "tests/support/headless_wizard.h"

namespace kst_test {

inline constexpr int kDevicePort = 4;
// Longer than any update can take in virtual time.
inline constexpr std::uint32_t kUpdateLimitMs = 10 * 60 * 1000;

struct DeviceMemories {
  std::array<std::uint16_t, sim::kProgramWords> program;
  std::array<std::uint8_t, sim::kDataBytes> data;
};

inline std::uint8_t HexByte(const std::string& line, std::size_t at) {
  return static_cast<std::uint8_t>(std::stoul(line.substr(at, 2), nullptr, 16));
}

// What a device that started with `before` holds once `hex_file` is in it.
inline DeviceMemories ExpectedAfterUpdate(const std::string& hex_file,
                                          const sim::LoaderDevice& before) {
  DeviceMemories memories{before.program(), before.data()};
  std::ifstream in(std::string(KST_SOURCE_DIR) + "/resources/" + hex_file);
  EXPECT_TRUE(in.good()) << hex_file;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 11 || HexByte(line, 7) != 0) continue;
    const std::size_t count = HexByte(line, 1);
    const std::size_t word = ((std::size_t{HexByte(line, 3)} << 8) | HexByte(line, 5)) / 2;
    for (std::size_t k = 0; k < count / 2; ++k) {
      const std::uint8_t low = HexByte(line, 9 + 4 * k);
      const std::uint8_t high = HexByte(line, 11 + 4 * k);
      if (word >= 48 && word < 8192) memories.program[word + k] = std::uint16_t(low | high << 8);
      if (word >= 8448) memories.data[word - 8448 + k] = low;
    }
  }
  memories.data[sim::kVersionMajorAddress] = 3;
  memories.data[sim::kVersionMinorAddress] = 5;
  return memories;
}

inline sim::LoaderDevice& AddDevice(HeadlessWizard& w, sim::DeviceConfig config = {}) {
  w.port_map.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}});
  return w.serial.AddDevice(kDevicePort, config);
}

// Starts the wizard and walks it, as the user would, to the power-on step.
inline TFormMj& StartAndConnect(HeadlessWizard& w) {
  TFormMj& form = w.Start();
  for (int step = 1; step < 6; ++step) EXPECT_TRUE(w.backend.Click(form.ButtonSuivant));
  EXPECT_EQ(form.Step, 6);
  EXPECT_TRUE(w.backend.Click(form.ButtonSuivant));  // Connection
  EXPECT_EQ(form.Step, 7);
  return form;
}

// Runs until the update has ended on step 10 or a dialog has been answered.
inline bool RunUpdate(HeadlessWizard& w, TFormMj& form) {
  const std::size_t dialogs = w.backend.Dialogs().size();
  return w.backend.RunUntil(
      [&] {
        return w.backend.Dialogs().size() > dialogs ||
               (form.Step == 10 && !form.TimerGestionSerie.Enabled());
      },
      kUpdateLimitMs);
}

class UpdateFixture : public ::testing::Test {
 protected:
  sim::LoaderDevice& AddDevice(sim::DeviceConfig config = {}) {
    return kst_test::AddDevice(w, config);
  }
  TFormMj& StartAndConnect() { return kst_test::StartAndConnect(w); }
  bool RunUpdate(TFormMj& form) { return kst_test::RunUpdate(w, form); }

  HeadlessWizard w;
};

}  // namespace kst_test
