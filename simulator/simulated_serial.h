#pragma once
// Serial ports served in process by simulated devices, on virtual time. Each
// COM number may hold one device behind a pluggable adapter. A byte the host
// writes reaches the device at once; the device's answer becomes readable
// after its turnaround plus the byte time at its line rate. A read waits in
// virtual time: it moves the clock to the next byte, or by the whole read
// time-out (1100 ms for one byte with the link's time-outs) when nothing
// comes in time. Bytes framed differently on the two sides (rate, size,
// parity, stop bits) arrive as garbage, as on a real line.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/serial_api.h"
#include "platform/virtual_clock.h"
#include "simulator/loader_device.h"

namespace sim {

class SimulatedSerial final : public platform::SerialApi {
 public:
  explicit SimulatedSerial(platform::VirtualClock& clock);

  // Devices by COM number; adding to a taken number replaces the device.
  LoaderDevice& AddDevice(int com, DeviceConfig config = {});
  void RemoveDevice(int com);
  LoaderDevice& Device(int com);  // throws std::out_of_range for an empty number
  std::vector<int> ComNumbers() const;

  // The adapter pulled out: the open handle fails every call but CloseHandle
  // (ERROR_GEN_FAILURE) and opens fail (ERROR_FILE_NOT_FOUND) until PlugIn.
  void Unplug(int com);
  void PlugIn(int com);
  bool IsPlugged(int com) const;
  // Pulls the adapter out as soon as the device has received this many bytes.
  void UnplugAfterBytes(int com, std::size_t bytes_received);
  // Writes time out without sending anything, like a line held by flow control.
  void StallWrites(int com, bool stalled);

  bool IsOpen(int com) const;
  // The settings and time-outs the port holds (the host's, once it set them).
  const platform::Dcb& LineSettings(int com) const;
  const platform::CommTimeouts& Timeouts(int com) const;
  // Serial API calls made so far, GetLastError excepted.
  std::size_t CallCount() const { return calls_; }

  platform::PortHandle CreateFileA(const char* device_name) override;
  bool GetCommState(platform::PortHandle port, platform::Dcb& settings) override;
  bool SetCommState(platform::PortHandle port, const platform::Dcb& settings) override;
  bool GetCommTimeouts(platform::PortHandle port, platform::CommTimeouts& timeouts) override;
  bool SetCommTimeouts(platform::PortHandle port, const platform::CommTimeouts& timeouts) override;
  bool PurgeComm(platform::PortHandle port, std::uint32_t flags) override;
  bool ReadFile(platform::PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                std::uint32_t& transferred) override;
  bool WriteFile(platform::PortHandle port, const std::uint8_t* data, std::uint32_t size,
                 std::uint32_t& transferred) override;
  bool CloseHandle(platform::PortHandle port) override;
  std::uint32_t GetLastError() override { return last_error_; }

 private:
  struct InFlight {
    std::uint8_t byte;
    std::uint32_t baud_rate;  // the device's rate when it sent the byte
    std::uint32_t ready_at;   // tick from which the host can read it
  };
  struct Port {
    std::unique_ptr<LoaderDevice> device;
    bool plugged = true;
    std::optional<std::size_t> unplug_after;
    bool writes_stalled = false;
    platform::Dcb settings;
    platform::CommTimeouts timeouts{};
    std::optional<platform::PortHandle> open_handle;
    std::deque<InFlight> to_host;
    std::uint32_t line_free_at = 0;  // the device's sending line is busy until then
  };

  Port& PortAt(int com);
  const Port& PortAt(int com) const;
  Port* LivePort(platform::PortHandle handle);  // sets the error when there is none
  bool Fail(std::uint32_t code);
  void MarkHandleDead(Port& port);

  platform::VirtualClock& clock_;
  std::map<int, Port> ports_;
  struct OpenHandle {
    int com;
    bool dead;  // its adapter was pulled out or its device removed
  };
  std::map<platform::PortHandle, OpenHandle> handles_;
  platform::PortHandle next_handle_ = 1;
  std::uint32_t last_error_ = 0;
  std::size_t calls_ = 0;
};

}  // namespace sim
