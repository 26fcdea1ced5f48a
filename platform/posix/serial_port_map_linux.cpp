#include "platform/posix/serial_port_map_linux.h"

#include <fstream>
#include <map>
#include <string>
#include <system_error>

#include "platform/native_port_map.h"
#include "platform/posix/com_names.h"

namespace platform::posix {

namespace fs = std::filesystem;

namespace {

// Every 8250 port the kernel reserves shows up as ttyS<k>; only those with
// a UART detected behind them (type other than 0, unknown) are real.
bool HasUart(const fs::path& tty_class_dir) {
  std::ifstream type_file(tty_class_dir / "type");
  int type = 0;
  return static_cast<bool>(type_file >> type) && type != 0;
}

std::string DriverName(const fs::path& tty_class_dir) {
  std::error_code error;
  return fs::read_symlink(tty_class_dir / "device" / "driver", error).filename().string();
}

// The device object name Windows would give the tty, or "" for none.
std::string DeviceObjectName(const std::string& tty, const fs::path& sys_dir) {
  const fs::path class_dir = sys_dir / "class" / "tty" / tty;
  if (tty.starts_with("ttyS")) {
    return HasUart(class_dir) ? "\\Device\\Serial" + tty.substr(4) : "";
  }
  if (tty.starts_with("ttyUSB")) {
    const char* kind = DriverName(class_dir) == "cp210x" ? "\\Device\\Silabser" : "\\Device\\VCP";
    return kind + tty.substr(6);
  }
  return "\\Device\\USBSER" + tty.substr(6);  // ttyACM
}

}  // namespace

PortMapRoots DefaultPortMapRoots() {
  const ComRoots com = DefaultComRoots();
  return {com.dev_dir, "/sys", com.com_dir};
}

std::optional<std::vector<SerialPortMapValue>> LinuxSerialPortMap::Read() {
  std::map<int, SerialPortMapValue> ports;  // by COM number
  std::error_code error;

  for (const auto& entry : fs::directory_iterator(roots_.dev_dir, error)) {
    const std::string tty = entry.path().filename().string();
    const auto n = ComForTtyName(tty);
    if (!n) continue;
    std::string name = DeviceObjectName(tty, roots_.sys_dir);
    if (!name.empty()) ports[*n] = {std::move(name), "COM" + std::to_string(*n)};
  }

  const ComRoots com_roots{roots_.dev_dir, roots_.com_dir};
  for (const auto& entry : fs::directory_iterator(roots_.com_dir, error)) {
    const auto n = ComForLinkName(entry.path().filename().string());
    std::error_code status_error;
    // A dangling link is a device that has gone, as Windows drops its value.
    if (!n || !entry.is_symlink(status_error) || !fs::exists(entry.path(), status_error)) continue;
    ports[*n] = {ComDeviceName(*n, com_roots).value_or("\\Device\\Attached" + std::to_string(*n)),
                 "COM" + std::to_string(*n)};
  }

  std::vector<SerialPortMapValue> values;
  for (auto& [n, value] : ports) values.push_back(std::move(value));
  return values;
}

}  // namespace platform::posix

namespace platform {

std::unique_ptr<SerialPortMap> CreateNativePortMap() {
  return std::make_unique<posix::LinuxSerialPortMap>(posix::DefaultPortMapRoots());
}

}  // namespace platform
