#pragma once
// Serves a simulated device on a pseudo-terminal in real time, so that a
// program opening the terminal's other end talks to it as to a serial port.
// The host's line rate is read from the terminal: bytes sent at a rate the
// device does not run at reach the other side as garbage.

#include <csignal>
#include <cstddef>
#include <optional>
#include <string>

#include "simulator/loader_device.h"

namespace sim {

class PtyServer {
 public:
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

 private:
  std::uint32_t HostRate() const;
  void Answer(const std::vector<std::uint8_t>& bytes, std::uint32_t device_rate);

  LoaderDevice& device_;
  int device_end_ = -1;  // the master side, played by the device
  int host_hold_ = -1;   // keeps the host side alive between the host's sessions
  std::string host_path_;
};

}  // namespace sim
