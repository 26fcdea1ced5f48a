#pragma once
// How a COM port number names a serial device on Linux, so that the port map
// and the serial layer agree:
//   1. <com dir>/COMn, a symbolic link to a tty, takes precedence. The com dir
//      is $KST90_COM_DIR, or /tmp/kst90-com when that is unset or empty. A file
//      COMn.device beside the link, if present, holds the device object name the
//      port map shows for it (for instance \Device\Silabser0).
//   2. Otherwise /dev/ttyS<k> is COM(k+1), /dev/ttyUSB<k> is COM(33+k) and
//      /dev/ttyACM<k> is COM(65+k), for k from 0 to 31.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform::posix {

struct ComRoots {
  std::filesystem::path dev_dir;  // normally /dev
  std::filesystem::path com_dir;  // normally $KST90_COM_DIR or /tmp/kst90-com
};

// The roots of the running process: /dev and the com dir from the environment.
ComRoots DefaultComRoots();

// <com dir>/COMn and <com dir>/COMn.device.
std::filesystem::path ComLinkPath(int n, const ComRoots& roots);
std::filesystem::path ComDeviceNamePath(int n, const ComRoots& roots);

// The device file that COMn opens: the com-dir link when it exists (even
// dangling), else the /dev name of rule 2; nullopt when no rule names COMn.
std::optional<std::filesystem::path> DevicePathForCom(int n, const ComRoots& roots);

// Rule 2 both ways: "ttyUSB2" <-> 35. Names outside the rule give nullopt.
std::optional<int> ComForTtyName(std::string_view tty_name);
std::optional<std::string> TtyNameForCom(int n);

// "COM12" -> 12; anything else gives nullopt.
std::optional<int> ComForLinkName(std::string_view name);

// The contents of COMn.device without its line end; nullopt when it is absent.
std::optional<std::string> ComDeviceName(int n, const ComRoots& roots);

}  // namespace platform::posix
