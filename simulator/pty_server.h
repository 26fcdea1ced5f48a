#pragma once
// Serves a simulated device on a pseudo-terminal in real time, so that a
// program opening the terminal's other end talks to it as to a serial port.
// The pseudo-terminal itself passes bytes at once; the server paces them as
// the real line and adapter would: a byte from the host reaches the device
// one byte time (11 bits at the host's rate) after the previous one has,
// and each byte of an answer reaches the host one byte time after the one
// before it, the first after the device's turnaround. The host's line rate
// is read from the terminal: bytes sent at a rate the device does not run
// at reach the other side as garbage.

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "simulator/loader_device.h"

namespace sim {

class PtyServer {
 public:
  using Clock = std::chrono::steady_clock;

  // When a byte reached the device (kToDevice) or the host (kFromDevice).
  struct TimedByte {
    Clock::time_point at;
    Direction direction;
    std::uint8_t byte;
  };

  // Opens the pseudo-terminal; throws std::runtime_error when it cannot.
  explicit PtyServer(LoaderDevice& device);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // The terminal device the host opens, e.g. /dev/pts/3.
  const std::string& HostPath() const { return host_path_; }

  // Answers the host until stop is set, or until the device has received
  // unplug_after bytes: then the terminal is hung up as a pulled-out adapter
  // would be, and Serve returns true.
  bool Serve(const volatile std::sig_atomic_t& stop, std::optional<std::size_t> unplug_after);

  // Every byte that crossed the line so far, in the order it arrived.
  const std::vector<TimedByte>& Timeline() const { return timeline_; }

 private:
  struct OnLine {
    std::uint8_t byte;
    std::uint32_t rate;  // the sender's rate
    Clock::time_point arrives;
  };

  std::uint32_t HostRate() const;
  void TakeFromHost(Clock::time_point now);
  void Answer(const std::vector<std::uint8_t>& bytes, std::uint32_t device_rate,
              Clock::time_point heard_at);
  void Deliver(Clock::time_point now);
  void HangUp();

  LoaderDevice& device_;
  int device_end_ = -1;  // the master side, played by the device
  int host_hold_ = -1;   // keeps the host side alive between the host's sessions
  std::string host_path_;
  std::deque<OnLine> to_device_;
  std::deque<OnLine> to_host_;
  Clock::time_point to_device_free_{};  // the host's line is busy until then
  Clock::time_point to_host_free_{};    // the device's line is busy until then
  std::vector<TimedByte> timeline_;
};

}  // namespace sim
