#pragma once
// The serial-port map of the platform being built: the registry on Windows,
// the serial devices on Linux (see posix/serial_port_map_linux.h).

#include <memory>

#include "platform/serial_port_map.h"

namespace platform {

std::unique_ptr<SerialPortMap> CreateNativePortMap();

}  // namespace platform
