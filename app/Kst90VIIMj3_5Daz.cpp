// The program: the platform's own serial ports, clock, port map and system
// services, the platform's backend, and the start-up.
#include "app/program_entry.h"

#include "app/run_program.h"
#include "forms/native_backend.h"
#include "platform/native_clock.h"
#include "platform/native_port_map.h"
#include "platform/native_serial.h"
#include "platform/native_system_services.h"

int ProgramEntry() {
  const auto clock = platform::CreateNativeClock();
  const auto serial = platform::CreateNativeSerial();
  const auto port_map = platform::CreateNativePortMap();
  const auto system = platform::CreateNativeSystemServices();
  platform::Services services{*serial, *clock, *port_map, *system};
  const auto backend = forms::CreateNativeBackend(*clock);
  return RunProgram(*backend, services);
}
