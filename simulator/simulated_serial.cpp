#include "simulator/simulated_serial.h"

#include "simulator/line.h"

#include <stdexcept>
#include <string_view>

namespace sim {

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\COM";
constexpr std::uint32_t kMaxDword = 0xFFFFFFFFu;
platform::Dcb PortDefaults() {
  platform::Dcb dcb{};
  dcb.DCBlength = sizeof(platform::Dcb);
  dcb.BaudRate = 19200;
  dcb.fBinary = true;
  dcb.ByteSize = 8;
  dcb.Parity = platform::kNoParity;
  dcb.StopBits = platform::kOneStopBit;
  return dcb;
}

// The loader's line is 8 data bits, even parity, one stop bit.
bool HostFramingMatches(const platform::Dcb& host, std::uint32_t device_rate) {
  return host.BaudRate == device_rate && host.ByteSize == 8 &&
         host.Parity == platform::kEvenParity && host.StopBits == platform::kOneStopBit;
}

// Signed distance from now to tick, across the wrap of the tick counter.
std::int64_t TicksUntil(std::uint32_t tick, std::uint32_t now) {
  return static_cast<std::int32_t>(tick - now);
}

std::optional<int> ComNumberOf(const char* device_name) {
  const std::string_view name = device_name != nullptr ? device_name : "";
  if (!name.starts_with(kDevicePrefix) || name.size() == kDevicePrefix.size()) return std::nullopt;
  int n = 0;
  for (const char c : name.substr(kDevicePrefix.size())) {
    if (c < '0' || c > '9' || n > 99999) return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

SimulatedSerial::SimulatedSerial(platform::VirtualClock& clock) : clock_(clock) {}

LoaderDevice& SimulatedSerial::AddDevice(int com, DeviceConfig config) {
  if (ports_.contains(com)) RemoveDevice(com);
  Port& port = ports_[com];
  port.device = std::make_unique<LoaderDevice>(std::move(config));
  port.settings = PortDefaults();
  return *port.device;
}

void SimulatedSerial::RemoveDevice(int com) {
  MarkHandleDead(PortAt(com));
  ports_.erase(com);
}

LoaderDevice& SimulatedSerial::Device(int com) {
  return *PortAt(com).device;
}

std::vector<int> SimulatedSerial::ComNumbers() const {
  std::vector<int> numbers;
  for (const auto& [com, port] : ports_) numbers.push_back(com);
  return numbers;
}

void SimulatedSerial::Unplug(int com) {
  Port& port = PortAt(com);
  port.plugged = false;
  port.to_host.clear();
  MarkHandleDead(port);
}

void SimulatedSerial::PlugIn(int com) {
  Port& port = PortAt(com);
  port.plugged = true;
  port.unplug_after.reset();
}

bool SimulatedSerial::IsPlugged(int com) const {
  return PortAt(com).plugged;
}

void SimulatedSerial::UnplugAfterBytes(int com, std::size_t bytes_received) {
  PortAt(com).unplug_after = bytes_received;
}

void SimulatedSerial::StallWrites(int com, bool stalled) {
  PortAt(com).writes_stalled = stalled;
}

bool SimulatedSerial::IsOpen(int com) const {
  return PortAt(com).open_handle.has_value();
}

const platform::Dcb& SimulatedSerial::LineSettings(int com) const {
  return PortAt(com).settings;
}

const platform::CommTimeouts& SimulatedSerial::Timeouts(int com) const {
  return PortAt(com).timeouts;
}

SimulatedSerial::Port& SimulatedSerial::PortAt(int com) {
  const auto found = ports_.find(com);
  if (found == ports_.end())
    throw std::out_of_range("no simulated device on COM" + std::to_string(com));
  return found->second;
}

const SimulatedSerial::Port& SimulatedSerial::PortAt(int com) const {
  return const_cast<SimulatedSerial*>(this)->PortAt(com);
}

void SimulatedSerial::MarkHandleDead(Port& port) {
  if (port.open_handle) handles_.at(*port.open_handle).dead = true;
  port.open_handle.reset();
}

bool SimulatedSerial::Fail(std::uint32_t code) {
  last_error_ = code;
  return false;
}

SimulatedSerial::Port* SimulatedSerial::LivePort(platform::PortHandle handle) {
  const auto found = handles_.find(handle);
  if (found == handles_.end()) {
    Fail(platform::kErrorInvalidHandle);
    return nullptr;
  }
  if (found->second.dead) {
    Fail(platform::kErrorGenFailure);
    return nullptr;
  }
  return &PortAt(found->second.com);
}

platform::PortHandle SimulatedSerial::CreateFileA(const char* device_name) {
  ++calls_;
  const auto com = ComNumberOf(device_name);
  const auto found = com ? ports_.find(*com) : ports_.end();
  if (found == ports_.end() || !found->second.plugged) {
    Fail(platform::kErrorFileNotFound);
    return platform::kInvalidHandle;
  }
  Port& port = found->second;
  if (port.open_handle) {
    Fail(platform::kErrorAccessDenied);
    return platform::kInvalidHandle;
  }
  const platform::PortHandle handle = next_handle_++;
  handles_[handle] = {*com, false};
  port.open_handle = handle;
  return handle;
}

bool SimulatedSerial::GetCommState(platform::PortHandle handle, platform::Dcb& settings) {
  ++calls_;
  const Port* port = LivePort(handle);
  if (port == nullptr) return false;
  settings = port->settings;
  return true;
}

bool SimulatedSerial::SetCommState(platform::PortHandle handle, const platform::Dcb& settings) {
  ++calls_;
  Port* port = LivePort(handle);
  if (port == nullptr) return false;
  if (settings.BaudRate == 0 || settings.ByteSize < 5 || settings.ByteSize > 8 ||
      settings.Parity > 4 || settings.StopBits > 2) {
    return Fail(platform::kErrorInvalidParameter);
  }
  port->settings = settings;
  return true;
}

bool SimulatedSerial::GetCommTimeouts(platform::PortHandle handle,
                                      platform::CommTimeouts& timeouts) {
  ++calls_;
  const Port* port = LivePort(handle);
  if (port == nullptr) return false;
  timeouts = port->timeouts;
  return true;
}

bool SimulatedSerial::SetCommTimeouts(platform::PortHandle handle,
                                      const platform::CommTimeouts& timeouts) {
  ++calls_;
  Port* port = LivePort(handle);
  if (port == nullptr) return false;
  port->timeouts = timeouts;
  return true;
}

bool SimulatedSerial::PurgeComm(platform::PortHandle handle, std::uint32_t flags) {
  ++calls_;
  Port* port = LivePort(handle);
  if (port == nullptr) return false;
  if ((flags & (platform::kPurgeRxAbort | platform::kPurgeRxClear)) != 0) {
    // Only what has arrived is discarded; bytes still on the line come later.
    const std::uint32_t now = clock_.Now();
    while (!port->to_host.empty() && TicksUntil(port->to_host.front().ready_at, now) <= 0) {
      port->to_host.pop_front();
    }
  }
  return true;
}

bool SimulatedSerial::WriteFile(platform::PortHandle handle, const std::uint8_t* data,
                                std::uint32_t size, std::uint32_t& transferred) {
  ++calls_;
  transferred = 0;
  Port* port = LivePort(handle);
  if (port == nullptr) return false;
  if (port->writes_stalled) {
    clock_.Advance(port->timeouts.WriteTotalTimeoutMultiplier * size +
                   port->timeouts.WriteTotalTimeoutConstant);
    return true;
  }
  for (; transferred < size; ++transferred) {
    LoaderDevice& device = *port->device;
    const std::uint32_t rate = device.BaudRate();
    const std::uint8_t heard =
        HostFramingMatches(port->settings, rate) ? data[transferred] : Garbled(data[transferred]);
    const std::vector<std::uint8_t> answer = device.Receive(heard);
    const std::uint32_t now = clock_.Now();
    std::uint32_t sent_at = now + device.config().turnaround_ms;
    if (TicksUntil(port->line_free_at, sent_at) > 0) sent_at = port->line_free_at;
    for (const std::uint8_t byte : answer) {
      sent_at += ByteTimeMs(rate);
      port->to_host.push_back({byte, rate, sent_at});
    }
    port->line_free_at = sent_at;
    if (port->unplug_after && device.BytesReceived() >= *port->unplug_after) {
      ++transferred;
      Unplug(handles_.at(handle).com);
      break;
    }
  }
  return true;
}

bool SimulatedSerial::ReadFile(platform::PortHandle handle, std::uint8_t* buffer,
                               std::uint32_t size, std::uint32_t& transferred) {
  ++calls_;
  transferred = 0;
  Port* port = LivePort(handle);
  if (port == nullptr) return false;
  const platform::CommTimeouts& t = port->timeouts;
  // MAXDWORD interval without totals: only what is there already. All zero:
  // no time-out, so the read waits for whatever the device will still send.
  const bool immediate = t.ReadIntervalTimeout == kMaxDword && t.ReadTotalTimeoutMultiplier == 0 &&
                         t.ReadTotalTimeoutConstant == 0;
  const std::uint64_t total =
      std::uint64_t{t.ReadTotalTimeoutMultiplier} * size + t.ReadTotalTimeoutConstant;
  const std::uint32_t start = clock_.Now();
  while (transferred < size) {
    const std::uint32_t now = clock_.Now();
    if (!port->to_host.empty() && TicksUntil(port->to_host.front().ready_at, now) <= 0) {
      const InFlight next = port->to_host.front();
      port->to_host.pop_front();
      buffer[transferred++] =
          HostFramingMatches(port->settings, next.baud_rate) ? next.byte : Garbled(next.byte);
      continue;
    }
    if (immediate) break;
    // How much longer this read may wait; none when no time-out bounds it.
    std::optional<std::int64_t> limit;
    if (total != 0) limit = static_cast<std::int64_t>(total) - std::int64_t{now - start};
    if (t.ReadIntervalTimeout != 0 && transferred > 0 &&
        (!limit || t.ReadIntervalTimeout < *limit)) {
      limit = t.ReadIntervalTimeout;
    }
    if (!port->to_host.empty()) {
      const std::int64_t until_next = TicksUntil(port->to_host.front().ready_at, now);
      if (!limit || until_next <= *limit) {
        clock_.Advance(static_cast<std::uint32_t>(until_next));
        continue;
      }
    }
    // Nothing comes in time; without a bound nothing will ever come.
    if (limit && *limit > 0) clock_.Advance(static_cast<std::uint32_t>(*limit));
    break;
  }
  return true;
}

bool SimulatedSerial::CloseHandle(platform::PortHandle handle) {
  ++calls_;
  const auto found = handles_.find(handle);
  if (found == handles_.end()) return Fail(platform::kErrorInvalidHandle);
  if (!found->second.dead) PortAt(found->second.com).open_handle.reset();
  handles_.erase(found);
  return true;
}

}  // namespace sim
