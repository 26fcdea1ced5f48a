#pragma once
// A serial-port map held in memory, for tests and simulations that plug and
// pull ports between timer ticks. Starts as an existing, empty map.

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/serial_port_map.h"

namespace platform {

class MemoryPortMap final : public SerialPortMap {
 public:
  std::optional<std::vector<SerialPortMapValue>> Read() override {
    ++reads_;
    return values_;
  }

  // Replaces the whole map; the values keep the given order.
  void Set(std::vector<SerialPortMapValue> values) { values_ = std::move(values); }

  // Changes the data of an existing value in place, or appends a new value,
  // as the registry does; recreates the key if it was removed.
  void SetValue(const std::string& name, const std::string& data) {
    if (!values_) values_.emplace();
    const auto found = Find(name);
    if (found != values_->end()) {
      found->data = data;
    } else {
      values_->push_back({name, data});
    }
  }

  void RemoveValue(const std::string& name) {
    if (!values_) return;
    const auto found = Find(name);
    if (found != values_->end()) values_->erase(found);
  }

  // The map itself disappears: Read() gives nullopt until a value is set.
  void RemoveKey() { values_.reset(); }

  // How often the map was read, so a test can tell that a scan took place.
  int reads() const { return reads_; }

 private:
  std::vector<SerialPortMapValue>::iterator Find(const std::string& name) {
    return std::find_if(values_->begin(), values_->end(),
                        [&name](const SerialPortMapValue& v) { return v.name == name; });
  }

  std::optional<std::vector<SerialPortMapValue>> values_ = std::vector<SerialPortMapValue>{};
  int reads_ = 0;
};

}  // namespace platform
