#pragma once
// The serial-port map as Windows keeps it: the string values of
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, read-only.

#include <windows.h>

#include <string>

#include "platform/serial_port_map.h"

namespace platform::win32 {

class RegistrySerialPortMap final : public SerialPortMap {
 public:
  // Tests point it at a key of their own; the program uses the defaults.
  explicit RegistrySerialPortMap(HKEY root = HKEY_LOCAL_MACHINE,
                                 std::string subkey = "HARDWARE\\DEVICEMAP\\SERIALCOMM")
      : root_(root), subkey_(std::move(subkey)) {}

  // The values in registry order; a value whose data is not a string is
  // left out. nullopt when the key cannot be opened.
  std::optional<std::vector<SerialPortMapValue>> Read() override;

 private:
  HKEY root_;
  std::string subkey_;
};

}  // namespace platform::win32
