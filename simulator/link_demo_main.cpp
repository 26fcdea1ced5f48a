// kst90-link-demo: one link exchange with a simulated device on virtual
// time, printed step by step: wake-up, identity, variant, serial number,
// version, leave.

#include <cstdio>
#include <string>

#include "link/Com_p04.h"
#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"

namespace {

constexpr int kDemoPort = 4;

void Report(const platform::VirtualClock& clock, const char* step, std::int32_t code,
            const std::string& detail = {}) {
  std::printf("%8.3f s  %-22s result %-6d %s\n", clock.Now() / 1000.0, step, static_cast<int>(code),
              detail.c_str());
}

}  // namespace

int main() {
  platform::VirtualClock clock;
  sim::SimulatedSerial serial(clock);
  sim::LoaderDevice& device = serial.AddDevice(kDemoPort);
  std::printf("Simulated %s on COM%d (virtual time)\n", CP04::DeviceName(), kDemoPort);

  std::int32_t failures = 0;
  {
    CP04 link(serial, clock);
    link.SetPort(kDemoPort);
    const auto step = [&](const char* name, std::int32_t code, const std::string& detail = {}) {
      Report(clock, name, code, detail);
      if (code != kLinkOk) ++failures;
    };
    step("Connect(1)", link.Connect(1));
    step("CheckIdentity", link.CheckIdentity(), "\"P04\" expected");
    std::int32_t variant = 0;
    std::int32_t code = link.ReadVariant(variant);
    step("ReadVariant", code, "variant " + std::to_string(variant));
    std::uint32_t serial_number = 0;
    code = link.ReadSerialNumber(serial_number);
    step("ReadSerialNumber", code, "serial " + std::to_string(serial_number));
    unsigned major = 0;
    unsigned minor = 0;
    code = link.ReadVersion(major, minor);
    step("ReadVersion", code, "version " + std::to_string(major) + "." + std::to_string(minor));
    step("Disconnect", link.Disconnect());
  }
  std::printf("%zu bytes to the device, %zu from it; the loader is %s.\n",
              device.BytesInLog(sim::Direction::kToDevice).size(),
              device.BytesInLog(sim::Direction::kFromDevice).size(),
              device.Awake() ? "still awake" : "waiting for a wake-up again");
  return failures == 0 ? 0 : 1;
}
