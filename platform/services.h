#pragma once
// Everything the program takes from the platform, handed down from the entry
// point. The objects are owned by whoever built the Services (the native
// platform, or a test fixture) and outlive the forms that use them.

#include "platform/clock.h"
#include "platform/serial_api.h"
#include "platform/serial_port_map.h"
#include "platform/system_services.h"

namespace platform {

struct Services {
  SerialApi& serial;
  Clock& clock;
  SerialPortMap& port_map;
  SystemServices& system;
};

}  // namespace platform
