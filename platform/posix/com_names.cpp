#include "platform/posix/com_names.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace platform::posix {

namespace {

struct TtyFamily {
  std::string_view prefix;
  int first_com;
};
constexpr TtyFamily kTtyFamilies[] = {{"ttyS", 1}, {"ttyUSB", 33}, {"ttyACM", 65}};
constexpr int kPortsPerFamily = 32;

// A run of decimal digits without sign or leading zero, as the kernel and the
// COM names write numbers.
std::optional<int> PlainNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0'))
    return std::nullopt;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

ComRoots DefaultComRoots() {
  const char* dir = std::getenv("KST90_COM_DIR");
  return {"/dev", (dir != nullptr && *dir != '\0') ? dir : "/tmp/kst90-com"};
}

std::filesystem::path ComLinkPath(int n, const ComRoots& roots) {
  return roots.com_dir / ("COM" + std::to_string(n));
}

std::filesystem::path ComDeviceNamePath(int n, const ComRoots& roots) {
  return roots.com_dir / ("COM" + std::to_string(n) + ".device");
}

std::optional<std::filesystem::path> DevicePathForCom(int n, const ComRoots& roots) {
  if (n <= 0) return std::nullopt;
  std::error_code error;
  const std::filesystem::path link = ComLinkPath(n, roots);
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(link, error))) return link;
  if (const auto tty = TtyNameForCom(n)) return roots.dev_dir / *tty;
  return std::nullopt;
}

std::optional<int> ComForTtyName(std::string_view tty_name) {
  for (const TtyFamily& family : kTtyFamilies) {
    if (!tty_name.starts_with(family.prefix)) continue;
    const auto k = PlainNumber(tty_name.substr(family.prefix.size()));
    if (k && *k < kPortsPerFamily) return family.first_com + *k;
  }
  return std::nullopt;
}

std::optional<std::string> TtyNameForCom(int n) {
  for (const TtyFamily& family : kTtyFamilies) {
    const int k = n - family.first_com;
    if (k >= 0 && k < kPortsPerFamily) return std::string(family.prefix) + std::to_string(k);
  }
  return std::nullopt;
}

std::optional<int> ComForLinkName(std::string_view name) {
  if (!name.starts_with("COM")) return std::nullopt;
  const auto n = PlainNumber(name.substr(3));
  if (!n || *n == 0) return std::nullopt;
  return n;
}

std::optional<std::string> ComDeviceName(int n, const ComRoots& roots) {
  std::ifstream file(ComDeviceNamePath(n, roots));
  if (!file) return std::nullopt;
  std::string name;
  std::getline(file, name);
  while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
  return name;
}

}  // namespace platform::posix
