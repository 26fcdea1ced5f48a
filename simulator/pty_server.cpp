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

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "simulator/line.h"

namespace sim {

namespace {

constexpr auto kPollLimit = std::chrono::milliseconds(100);  // how often a stop request is noticed

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
  HangUp();
}

void PtyServer::HangUp() {
  if (host_hold_ >= 0) close(host_hold_);
  if (device_end_ >= 0) close(device_end_);
  host_hold_ = device_end_ = -1;
}

std::uint32_t PtyServer::HostRate() const {
  termios2 line{};
  if (ioctl(device_end_, TCGETS2, &line) != 0) return 0;
  return line.c_ospeed;
}

void PtyServer::TakeFromHost(Clock::time_point now) {
  std::uint8_t bytes[64];
  const ssize_t got = read(device_end_, bytes, sizeof bytes);
  if (got <= 0) return;
  const std::uint32_t rate = HostRate();
  for (ssize_t i = 0; i < got; ++i) {
    // Bytes written together leave one after the other.
    to_device_free_ = std::max(now, to_device_free_) + WireTime(rate);
    to_device_.push_back({bytes[i], rate, to_device_free_});
  }
}

void PtyServer::Answer(const std::vector<std::uint8_t>& bytes, std::uint32_t device_rate,
                       Clock::time_point heard_at) {
  if (bytes.empty()) return;
  const auto turnaround = std::chrono::milliseconds(device_.config().turnaround_ms);
  to_host_free_ = std::max(heard_at + turnaround, to_host_free_);
  for (const std::uint8_t byte : bytes) {
    to_host_free_ += WireTime(device_rate);
    to_host_.push_back({byte, device_rate, to_host_free_});
  }
}

void PtyServer::Deliver(Clock::time_point now) {
  while (!to_host_.empty() && to_host_.front().arrives <= now) {
    const OnLine sent = to_host_.front();
    to_host_.pop_front();
    const std::uint8_t byte = HostRate() == sent.rate ? sent.byte : Garbled(sent.byte);
    // A byte the terminal does not take is lost, as on a line nobody reads.
    if (write(device_end_, &byte, 1) == 1) {
      timeline_.push_back({sent.arrives, Direction::kFromDevice, sent.byte});
    }
  }
}

bool PtyServer::Serve(const volatile std::sig_atomic_t& stop,
                      std::optional<std::size_t> unplug_after) {
  while (stop == 0) {
    const Clock::time_point now = Clock::now();
    Deliver(now);
    while (!to_device_.empty() && to_device_.front().arrives <= now) {
      const OnLine heard = to_device_.front();
      to_device_.pop_front();
      timeline_.push_back({heard.arrives, Direction::kToDevice, heard.byte});
      const std::uint32_t rate = device_.BaudRate();
      const std::uint8_t byte = heard.rate == rate ? heard.byte : Garbled(heard.byte);
      Answer(device_.Receive(byte), rate, heard.arrives);
      if (unplug_after && device_.BytesReceived() >= *unplug_after) {
        to_device_.clear();
        to_host_.clear();
        HangUp();
        return true;
      }
    }
    // Sleep until the next byte is due on either line, or the host writes.
    Clock::time_point wake = now + kPollLimit;
    if (!to_device_.empty()) wake = std::min(wake, to_device_.front().arrives);
    if (!to_host_.empty()) wake = std::min(wake, to_host_.front().arrives);
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(wake - now);
    if (left.count() <= 0) continue;
    const timespec timeout{static_cast<time_t>(left.count() / 1'000'000'000),
                           static_cast<long>(left.count() % 1'000'000'000)};
    pollfd ready{device_end_, POLLIN, 0};
    if (ppoll(&ready, 1, &timeout, nullptr) > 0 && (ready.revents & POLLIN) != 0) {
      TakeFromHost(Clock::now());
    }
  }
  return false;
}

}  // namespace sim
