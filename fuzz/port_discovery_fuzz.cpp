// Port discovery fed any serial-port map, scan after scan on one wizard:
// value names and data of any bytes, empty, long, duplicated, the map gone.
// After each scan the preferred entry must be one of the list, the list must
// hold exactly the map's ports (or the no-port entry), and every entry must
// give a COM number or one of the two "none" answers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tests/support/headless_wizard.h"
#include "wizard/text_catalogue.h"

using kst_fuzz::Require;

namespace {

constexpr int kMaxScans = 8;
constexpr std::size_t kMaxValues = 12;

// Names most often of the two kinds the scan tells apart, so that tagging is
// exercised; otherwise any bytes.
std::string ValueName(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return "\\Device\\Silabser" + input.ConsumeRandomLengthString(4);
    case 1:
      return "\\Device\\Serial" + input.ConsumeRandomLengthString(4);
    default:
      return input.ConsumeRandomLengthString(300);
  }
}

std::string ValueData(FuzzedDataProvider& input) {
  if (input.ConsumeBool()) return "COM" + input.ConsumeRandomLengthString(12);
  return input.ConsumeRandomLengthString(300);
}

void CheckAfterScan(const TFormMj& form, const std::vector<platform::SerialPortMapValue>& map,
                    bool map_exists) {
  const forms::StringList& list = *form.PortList;
  Require(form.PreferredPort.empty() || list.IndexOf(form.PreferredPort) >= 0,
          "the preferred port is listed");
  for (const std::string& entry : list.Strings()) {
    const std::int32_t number = TFormMj::PortNumberOf(entry);
    Require(number == -1 || number == -2 || number >= 0, "a port number, -1 or -2");
  }
  if (!map_exists) return;

  // The list follows the map: each of its ports is listed, and nothing else.
  forms::StringList expected;
  expected.SetSorted(true);
  for (const auto& value : map) {
    const bool adapter = value.name.find("Silabser") != std::string::npos;
    expected.Add(adapter ? value.data + " : VORANEX" : value.data);
  }
  if (map.empty()) expected.Add(NoSerialPort[form.Language]);
  Require(list.Count() == expected.Count(), "the list holds as many ports as the map");
  for (const std::string& entry : expected.Strings())
    Require(list.IndexOf(entry) >= 0, "every port of the map is listed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  kst_test::HeadlessWizard w;
  TFormMj& form = w.Start();
  for (int scan = 0; scan < kMaxScans && input.remaining_bytes() > 0; ++scan) {
    std::vector<platform::SerialPortMapValue> map;
    const bool map_exists = input.ConsumeIntegralInRange<int>(0, 7) != 0;
    if (map_exists) {
      const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, kMaxValues);
      for (std::size_t i = 0; i < count; ++i) {
        // Repeats of an earlier value, as a map rebuilt by hand may hold.
        if (!map.empty() && input.ConsumeIntegralInRange<int>(0, 5) == 0) {
          map.push_back(map[input.ConsumeIntegralInRange<std::size_t>(0, map.size() - 1)]);
        } else {
          map.push_back({ValueName(input), ValueData(input)});
        }
      }
      w.port_map.Set(map);
    } else {
      w.port_map.RemoveKey();
    }
    if (input.ConsumeBool()) form.SetLanguage(1 - form.Language);
    form.ScanSerialPorts();
    CheckAfterScan(form, map, map_exists);
  }
  return 0;
}
