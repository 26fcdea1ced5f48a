#pragma once
// The system's serial-port map: on Windows the values of the registry key
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, elsewhere the same pairs
// built from the machine's serial devices.

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct SerialPortMapValue {
  std::string name;  // device object, e.g. \Device\Silabser0
  std::string data;  // COM port name, e.g. COM4
};

class SerialPortMap {
 public:
  virtual ~SerialPortMap() = default;
  // The values in the order the system enumerates them; nullopt when the map
  // itself does not exist. Read-only.
  virtual std::optional<std::vector<SerialPortMapValue>> Read() = 0;
};

}  // namespace platform
