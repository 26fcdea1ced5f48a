#pragma once
// The whole program on the terminal backend, in virtual time, against a
// simulated device on COM4 posing as the maker's adapter. The script is
// what the user types, written ahead into a pipe; what the terminal prints
// is kept in Output().

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "app/run_program.h"
#include "forms/native_linux/wizard_driver.h"
#include "forms/terminal/terminal_backend.h"
#include "platform/memory_port_map.h"
#include "platform/services.h"
#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"
#include "tests/support/fake_system_services.h"

namespace kst_test {

// Input is always ready here (the script is written ahead and the pipe
// closed), so waiting only ever lets virtual time pass up to the next tick.
class VirtualWait final : public forms::InputWait {
 public:
  explicit VirtualWait(platform::VirtualClock& clock) : clock_(clock) {}
  bool Wait(int fd, std::optional<std::uint32_t> timeout_ms) override {
    pollfd ready{.fd = fd, .events = POLLIN, .revents = 0};
    if (fd >= 0 && poll(&ready, 1, 0) > 0) return true;
    if (timeout_ms) clock_.Advance(*timeout_ms);
    return false;
  }

 private:
  platform::VirtualClock& clock_;
};

struct TerminalRun {
  platform::VirtualClock clock;
  sim::SimulatedSerial serial{clock};
  platform::MemoryPortMap port_map;
  FakeSystemServices system;
  platform::Services services{serial, clock, port_map, system};
  VirtualWait wait{clock};
  forms::TerminalOptions options;
  int port = 0;                // --port
  std::int32_t language = -1;  // --lang
  std::ostringstream out;
  std::ostringstream errors;

  TerminalRun() { port_map.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}}); }

  sim::LoaderDevice& AddDevice(sim::DeviceConfig config = {}) {
    return serial.AddDevice(4, config);
  }

  // Runs the program to its end with script as its input; returns the exit status.
  int Run(const std::string& script) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const bool written =
        write(fds[1], script.data(), script.size()) == static_cast<ssize_t>(script.size());
    close(fds[1]);
    options.input_fd = fds[0];
    WizardDriver driver(port, clock, errors);
    forms::TerminalBackend backend(clock, out, options, wait, &driver);
    RunProgram(backend, services, language);
    close(fds[0]);
    return written ? backend.ExitStatus() : -1;
  }

  std::string Output() const { return out.str(); }
};

// How many times text occurs in output.
inline int Count(const std::string& output, const std::string& text) {
  int count = 0;
  for (auto at = output.find(text); at != std::string::npos; at = output.find(text, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace kst_test
