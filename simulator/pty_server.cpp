// The kernel's termios2 gives the host's rate whatever it is; the C
// library's <termios.h> would clash with it, so it is not used here.
#include "simulator/pty_server.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "simulator/line.h"

namespace sim {

namespace {

constexpr int kPollMs = 100;  // how often a stop request is noticed

void SleepMs(std::uint32_t ms) {
  timespec left{static_cast<time_t>(ms / 1000u), static_cast<long>(ms % 1000u) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

std::runtime_error SystemError(const char* what) {
  return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

PtyServer::PtyServer(LoaderDevice& device) : device_(device) {
  device_end_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (device_end_ < 0) throw SystemError("posix_openpt");
  if (grantpt(device_end_) != 0 || unlockpt(device_end_) != 0) {
    close(device_end_);
    throw SystemError("unlockpt");
  }
  host_path_ = ptsname(device_end_);
  host_hold_ = open(host_path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (host_hold_ < 0) {
    close(device_end_);
    throw SystemError(host_path_.c_str());
  }
  // Raw from the start, so that nothing is echoed before the host sets the line up.
  termios2 line{};
  ioctl(host_hold_, TCGETS2, &line);
  line.c_iflag = 0;
  line.c_oflag = 0;
  line.c_lflag = 0;
  ioctl(host_hold_, TCSETS2, &line);
}

PtyServer::~PtyServer() {
  if (host_hold_ >= 0) close(host_hold_);
  if (device_end_ >= 0) close(device_end_);
}

std::uint32_t PtyServer::HostRate() const {
  termios2 line{};
  if (ioctl(device_end_, TCGETS2, &line) != 0) return 0;
  return line.c_ospeed;
}

void PtyServer::Answer(const std::vector<std::uint8_t>& bytes, std::uint32_t device_rate) {
  if (bytes.empty()) return;
  SleepMs(device_.config().turnaround_ms +
          static_cast<std::uint32_t>(bytes.size()) * ByteTimeMs(device_rate));
  const bool garbled = HostRate() != device_rate;
  for (std::uint8_t byte : bytes) {
    if (garbled) byte = Garbled(byte);
    if (write(device_end_, &byte, 1) != 1) return;
  }
}

bool PtyServer::Serve(const volatile std::sig_atomic_t& stop,
                      std::optional<std::size_t> unplug_after) {
  while (stop == 0) {
    pollfd ready{device_end_, POLLIN, 0};
    if (poll(&ready, 1, kPollMs) <= 0) continue;
    std::uint8_t byte = 0;
    if (read(device_end_, &byte, 1) != 1) continue;
    const std::uint32_t rate = device_.BaudRate();
    const std::uint8_t heard = HostRate() == rate ? byte : Garbled(byte);
    Answer(device_.Receive(heard), rate);
    if (unplug_after && device_.BytesReceived() >= *unplug_after) {
      close(host_hold_);
      close(device_end_);
      host_hold_ = device_end_ = -1;
      return true;
    }
  }
  return false;
}

}  // namespace sim
