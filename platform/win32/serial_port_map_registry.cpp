#include "platform/win32/serial_port_map_registry.h"

#include <memory>
#include <type_traits>

#include "platform/native_port_map.h"

namespace platform::win32 {

namespace {

struct KeyCloser {
  void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using OpenKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

constexpr DWORD kMaxCapacity = 1 << 20;  // past this a value is not a port name

}  // namespace

std::optional<std::vector<SerialPortMapValue>> RegistrySerialPortMap::Read() {
  HKEY raw_key = nullptr;
  if (::RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_READ, &raw_key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const OpenKey key(raw_key);

  std::vector<SerialPortMapValue> values;
  DWORD capacity = 256;  // bytes for the name and for the data, doubled as needed
  for (DWORD index = 0;;) {
    std::string name(capacity, '\0');
    std::string data(capacity, '\0');
    DWORD name_size = capacity;
    DWORD data_size = capacity;
    DWORD type = 0;
    const LSTATUS status = ::RegEnumValueA(key.get(), index, name.data(), &name_size, nullptr,
                                           &type, reinterpret_cast<BYTE*>(data.data()), &data_size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA && capacity < kMaxCapacity) {
      capacity *= 2;  // retry this value with room enough
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    ++index;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    name.resize(name_size);
    data.resize(data_size);
    // String data usually carries its NUL, but nothing guarantees it.
    while (!data.empty() && data.back() == '\0') data.pop_back();
    values.push_back({std::move(name), std::move(data)});
  }
  return values;
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<SerialPortMap> CreateNativePortMap() {
  return std::make_unique<win32::RegistrySerialPortMap>();
}

}  // namespace platform
