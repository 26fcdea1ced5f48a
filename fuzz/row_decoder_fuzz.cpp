// The row decoder fed any image rows: a wizard brought to the programming
// step against the simulated device programs up to four rows of the input,
// each in a buffer of exactly one row's 55 bytes so that the sanitizer
// catches a read past it. Whatever the rows say, no program word may go
// outside 48..7103, no data byte address outside 0..255, and the serial
// number the device carries must stay as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "simulator/loader_device.h"
#include "tests/support/headless_wizard.h"

using kst_fuzz::Require;

namespace {

constexpr std::size_t kRowBytes = 55;
constexpr int kMaxRows = 4;
constexpr int kDevicePort = 4;
constexpr std::uint32_t kLimitMs = 10 * 60 * 1000;

std::int32_t DigitValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of the hexadecimal pair at sent[at], -1 when it is not one.
std::int32_t PairValue(const std::vector<std::uint8_t>& sent, std::size_t at) {
  const std::int32_t high = DigitValue(sent[at]);
  const std::int32_t low = DigitValue(sent[at + 1]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Addresses as they went out on the line to the device.
void CheckAddressesSent(const std::vector<std::uint8_t>& sent) {
  for (std::size_t at = 0; at < sent.size(); ++at) {
    if (sent[at] == sim::kWriteProgramWord && at + 4 < sent.size()) {
      const std::int32_t high = PairValue(sent, at + 1);
      const std::int32_t low = PairValue(sent, at + 3);
      Require(high >= 0 && low >= 0, "program word address in hexadecimal");
      const std::int32_t address = (high ^ 0x6D) * 256 + (low ^ 0xD2);
      Require(address >= 48 && address < 7104, "program word address within 48..7103");
    }
    if (sent[at] == sim::kWriteDataByte && at + 2 < sent.size()) {
      Require(PairValue(sent, at + 1) >= 0, "data byte address within 0..255");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::vector<std::unique_ptr<char[]>> rows;
  while (static_cast<int>(rows.size()) < kMaxRows && input.remaining_bytes() > 0) {
    auto row = std::make_unique<char[]>(kRowBytes);  // zero-filled, as an image row ends
    const std::vector<std::uint8_t> bytes = input.ConsumeBytes<std::uint8_t>(kRowBytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) row[i] = static_cast<char>(bytes[i]);
    rows.push_back(std::move(row));
  }
  if (rows.empty()) return 0;

  kst_test::HeadlessWizard w;
  w.port_map.Set({{"\\Device\\Silabser0", "COM4"}});
  sim::LoaderDevice& device = w.serial.AddDevice(kDevicePort);
  const auto identity_before = device.data();
  TFormMj& form = w.Start();
  for (int step = 1; step <= 6; ++step)
    Require(w.backend.Click(form.ButtonSuivant), "the wizard walks to the power-on step");
  Require(w.backend.RunUntil([&] { return form.Step == 9; }, kLimitMs),
          "the device reaches programming");

  for (std::size_t i = 0; i < rows.size(); ++i) form.ImageLines[i] = rows[i].get();
  form.ProgressBarProgrammation.SetMax(static_cast<int>(rows.size()));
  const bool ended = w.backend.RunUntil(
      [&] {
        return !w.backend.Dialogs().empty() ||
               (form.Step == 10 && !form.TimerGestionSerie.Enabled());
      },
      kLimitMs);
  Require(ended, "the rows end in a dialog or on the last step");

  for (std::size_t address = 0; address < sim::kProgramWords; ++address) {
    if (address < 48 || address >= 7104)
      Require(device.program()[address] == sim::kErasedWord, "no program word outside 48..7103");
  }
  for (std::size_t k = 0; k < 4; ++k) {
    const std::size_t at = sim::kSerialNumberAddress + k;
    Require(device.data()[at] == identity_before[at], "the serial number untouched");
  }
  CheckAddressesSent(device.BytesInLog(sim::Direction::kToDevice));
  return 0;
}
