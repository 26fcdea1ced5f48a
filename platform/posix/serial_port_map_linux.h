#pragma once
// The serial-port map on Linux: the (device object, COM name) pairs that
// Windows keeps under HARDWARE\DEVICEMAP\SERIALCOMM, built from the
// machine's serial devices with the COM numbering of com_names.h.
//   - <com dir>/COMn links to an existing device: named by COMn.device, else
//     \Device\Attached<n>;
//   - ttyS<k> with a UART behind it (sysfs type not 0): \Device\Serial<k>;
//   - ttyUSB<k> on the cp210x driver: \Device\Silabser<k> (the maker's
//     adapter), other ttyUSB<k>: \Device\VCP<k>;
//   - ttyACM<k>: \Device\USBSER<k>.
// A link takes the place of the tty with the same COM number. Values come in
// COM number order. The map always exists, empty when there is no port.

#include <filesystem>

#include "platform/serial_port_map.h"

namespace platform::posix {

struct PortMapRoots {
  std::filesystem::path dev_dir;  // normally /dev
  std::filesystem::path sys_dir;  // normally /sys
  std::filesystem::path com_dir;  // normally $KST90_COM_DIR or /tmp/kst90-com
};

// /dev, /sys and the com dir of the running process.
PortMapRoots DefaultPortMapRoots();

class LinuxSerialPortMap final : public SerialPortMap {
 public:
  explicit LinuxSerialPortMap(PortMapRoots roots) : roots_(std::move(roots)) {}
  std::optional<std::vector<SerialPortMapValue>> Read() override;

 private:
  PortMapRoots roots_;
};

}  // namespace platform::posix
