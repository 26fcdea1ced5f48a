// The program: the platform's own serial ports, clock, port map and system
// services, the platform's backend, and the start-up.
#include <iostream>

#include "app/command_line.h"
#include "app/exit_status.h"
#include "app/program_entry.h"
#include "app/run_program.h"
#include "forms/native_backend.h"
#include "platform/native_clock.h"
#include "platform/native_port_map.h"
#include "platform/native_serial.h"
#include "platform/native_system_services.h"

int ProgramEntry(int argc, char** argv) {
  const CommandLine command_line = ParseCommandLine(argc, argv);
  if (command_line.help) {
    std::cout << Usage();
    return kExitUpdated;
  }
  if (!command_line.error.empty()) {
    std::cerr << kApplicationTitle << ": " << command_line.error << "\n" << Usage();
    return kExitStartUpError;
  }
  const auto clock = platform::CreateNativeClock();
  const auto serial = platform::CreateNativeSerial();
  const auto port_map = platform::CreateNativePortMap();
  const auto system = platform::CreateNativeSystemServices();
  platform::Services services{*serial, *clock, *port_map, *system};
  const auto backend = forms::CreateNativeBackend(*clock, command_line.front_end);
  RunProgram(*backend, services, command_line.language);
  return backend->ExitStatus();
}
