// Linux ttys through the kernel's termios2, which sets any baud rate
// (BOTHER), so the non-standard rates of the Windows list work too. The C
// library's <termios.h> would clash with these kernel structures.
#include "platform/posix/posix_serial.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/native_serial.h"

namespace platform {

namespace posix {

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr std::uint32_t kMaxDword = 0xFFFFFFFFu;
constexpr std::string_view kDevicePrefix = "\\\\.\\";

std::optional<termios2> ReadLine(int fd) {
  termios2 line{};
  if (ioctl(fd, TCGETS2, &line) != 0) return std::nullopt;
  return line;
}

std::uint8_t ByteSizeOf(const termios2& line) {
  switch (line.c_cflag & CSIZE) {
    case CS5:
      return 5;
    case CS6:
      return 6;
    case CS7:
      return 7;
    default:
      return 8;
  }
}

tcflag_t CsizeFor(std::uint8_t byte_size) {
  switch (byte_size) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

// The members the kernel keeps; the others keep the values given last.
void CopyLineInto(const termios2& line, int modem_lines, Dcb& dcb) {
  dcb.DCBlength = sizeof(Dcb);
  dcb.BaudRate = line.c_ospeed;
  dcb.fBinary = true;
  dcb.fParity = (line.c_iflag & INPCK) != 0;
  dcb.fOutxCtsFlow = (line.c_cflag & CRTSCTS) != 0;
  dcb.fOutX = (line.c_iflag & IXON) != 0;
  dcb.fInX = (line.c_iflag & IXOFF) != 0;
  dcb.fDtrControl = (modem_lines & TIOCM_DTR) != 0;
  dcb.fRtsControl = (modem_lines & TIOCM_RTS) != 0;
  dcb.ByteSize = ByteSizeOf(line);
  dcb.Parity = (line.c_cflag & PARENB) == 0   ? kNoParity
               : (line.c_cflag & PARODD) != 0 ? kOddParity
                                              : kEvenParity;
  dcb.StopBits = (line.c_cflag & CSTOPB) != 0 ? kTwoStopBits : kOneStopBit;
  dcb.XonChar = static_cast<char>(line.c_cc[VSTART]);
  dcb.XoffChar = static_cast<char>(line.c_cc[VSTOP]);
}

int ModemLines(int fd) {
  int lines = 0;
  // A pseudo-terminal has no modem lines: it reads as all off.
  if (ioctl(fd, TIOCMGET, &lines) != 0) return 0;
  return lines;
}

void SetModemLine(int fd, int line, bool on) {
  // A pseudo-terminal has no modem lines; the error is of no consequence.
  static_cast<void>(ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line));
}

// Raw 8-bit transfers with the framing, parity and flow control of dcb.
termios2 LineFor(const Dcb& dcb, termios2 line) {
  line.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                         IXON | IXOFF | IXANY | INPCK | IGNPAR | IUCLC | IMAXBEL);
  line.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  line.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL |
                                         CBAUD | (CBAUD << IBSHIFT));
  line.c_cflag |= CREAD | CLOCAL | BOTHER | CsizeFor(dcb.ByteSize);
  if (dcb.Parity != kNoParity) line.c_cflag |= PARENB;
  if (dcb.Parity == kOddParity) line.c_cflag |= PARODD;
  if (dcb.fParity != 0) line.c_iflag |= INPCK;
  if (dcb.StopBits == kTwoStopBits) line.c_cflag |= CSTOPB;
  if (dcb.fOutxCtsFlow != 0) line.c_cflag |= CRTSCTS;
  if (dcb.fOutX != 0) line.c_iflag |= IXON;
  if (dcb.fInX != 0) line.c_iflag |= IXOFF;
  line.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
  line.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
  // Reads never block in the kernel: poll bounds them by the time-outs.
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
  line.c_ispeed = dcb.BaudRate;
  line.c_ospeed = dcb.BaudRate;
  return line;
}

bool SameDcb(const Dcb& a, const Dcb& b) {
  return std::memcmp(&a, &b, sizeof(Dcb)) == 0;
}

std::optional<int> ComNumberOf(const char* device_name) {
  const std::string_view name = device_name != nullptr ? device_name : "";
  if (!name.starts_with(kDevicePrefix)) return std::nullopt;
  return ComForLinkName(name.substr(kDevicePrefix.size()));
}

// Milliseconds left until deadline (0 once it has passed), for poll.
int MillisecondsLeft(SteadyClock::time_point deadline) {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

}  // namespace

struct PosixSerial::OpenPort {
  int fd = -1;
  termios2 original{};  // the tty's own settings, put back when asked for exactly
  Dcb original_dcb{};   // how GetCommState showed them
  Dcb dcb{};            // the settings applied last
  CommTimeouts timeouts{};
};

std::uint32_t WindowsErrorForErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kErrorFileNotFound;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
    case EROFS:
      return kErrorAccessDenied;
    case EBADF:
      return kErrorInvalidHandle;
    case ENOMEM:
      return kErrorNotEnoughMemory;
    case EINVAL:
    case ENOTTY:
      return kErrorInvalidParameter;
    case ETIMEDOUT:
      return kErrorSemTimeout;
    case EINTR:
      return kErrorOperationAborted;
    case EIO:
      return kErrorIoDevice;
    case ENXIO:
    case ENODEV:
      return kErrorDeviceNotConnected;
    default:
      return kErrorGenFailure;
  }
}

PosixSerial::PosixSerial(ComRoots roots) : roots_(std::move(roots)) {}

PosixSerial::~PosixSerial() {
  for (const auto& [handle, port] : ports_) close(port->fd);
}

bool PosixSerial::Fail(std::uint32_t code) {
  last_error_ = code;
  return false;
}

bool PosixSerial::FailErrno() {
  return Fail(WindowsErrorForErrno(errno));
}

PosixSerial::OpenPort* PosixSerial::Find(PortHandle port) {
  const auto found = ports_.find(port);
  return found == ports_.end() ? nullptr : found->second.get();
}

PortHandle PosixSerial::CreateFileA(const char* device_name) {
  const auto com = ComNumberOf(device_name);
  const auto path = com ? DevicePathForCom(*com, roots_) : std::nullopt;
  if (!path) {
    Fail(kErrorFileNotFound);
    return kInvalidHandle;
  }
  const int fd = open(path->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    FailErrno();
    return kInvalidHandle;
  }
  // flock also keeps out a second opener running as root, whom TIOCEXCL lets in.
  const auto line = ReadLine(fd);
  if (!line || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
    FailErrno();
    close(fd);
    return kInvalidHandle;
  }
  auto port = std::make_unique<OpenPort>();
  port->fd = fd;
  port->original = *line;
  CopyLineInto(*line, ModemLines(fd), port->original_dcb);
  port->dcb = port->original_dcb;
  ports_.emplace(fd, std::move(port));
  return fd;
}

bool PosixSerial::GetCommState(PortHandle handle, Dcb& settings) {
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  const auto line = ReadLine(port->fd);
  if (!line) return FailErrno();
  settings = port->dcb;
  CopyLineInto(*line, ModemLines(port->fd), settings);
  return true;
}

bool PosixSerial::SetCommState(PortHandle handle, const Dcb& settings) {
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  if (settings.BaudRate == 0 || settings.ByteSize < 5 || settings.ByteSize > 8 ||
      settings.Parity > kEvenParity ||
      (settings.StopBits != kOneStopBit && settings.StopBits != kTwoStopBits)) {
    return Fail(kErrorInvalidParameter);
  }
  // Settings read back at open are put back as the tty had them, modes included.
  termios2 line{};
  if (SameDcb(settings, port->original_dcb)) {
    line = port->original;
  } else {
    const auto current = ReadLine(port->fd);
    if (!current) return FailErrno();
    line = LineFor(settings, *current);
  }
  if (ioctl(port->fd, TCSETS2, &line) != 0) return FailErrno();
  SetModemLine(port->fd, TIOCM_DTR, settings.fDtrControl != kDtrControlDisable);
  SetModemLine(port->fd, TIOCM_RTS, settings.fRtsControl != 0);
  port->dcb = settings;
  return true;
}

bool PosixSerial::GetCommTimeouts(PortHandle handle, CommTimeouts& timeouts) {
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  timeouts = port->timeouts;
  return true;
}

bool PosixSerial::SetCommTimeouts(PortHandle handle, const CommTimeouts& timeouts) {
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  port->timeouts = timeouts;
  return true;
}

bool PosixSerial::PurgeComm(PortHandle handle, std::uint32_t flags) {
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  const bool input = (flags & (kPurgeRxAbort | kPurgeRxClear)) != 0;
  const bool output = (flags & (kPurgeTxAbort | kPurgeTxClear)) != 0;
  if (!input && !output) return true;
  const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
  if (ioctl(port->fd, TCFLSH, which) != 0) return FailErrno();
  return true;
}

bool PosixSerial::ReadFile(PortHandle handle, std::uint8_t* buffer, std::uint32_t size,
                           std::uint32_t& transferred) {
  transferred = 0;
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  const CommTimeouts& t = port->timeouts;
  // The Windows rules: MAXDWORD interval with no totals returns what is there;
  // with MAXDWORD multiplier it returns on the first byte or after the constant;
  // otherwise the totals bound the whole read and the interval the gaps between
  // bytes, and all zero means no time-out at all.
  const bool immediate = t.ReadIntervalTimeout == kMaxDword && t.ReadTotalTimeoutMultiplier == 0 &&
                         t.ReadTotalTimeoutConstant == 0;
  const bool first_byte_returns = t.ReadIntervalTimeout == kMaxDword &&
                                  t.ReadTotalTimeoutMultiplier == kMaxDword &&
                                  t.ReadTotalTimeoutConstant != kMaxDword;
  const std::uint64_t total_ms =
      first_byte_returns
          ? t.ReadTotalTimeoutConstant
          : std::uint64_t{t.ReadTotalTimeoutMultiplier} * size + t.ReadTotalTimeoutConstant;
  const bool bounded = immediate || total_ms != 0;
  const auto start = SteadyClock::now();
  const auto total_deadline = start + std::chrono::milliseconds(immediate ? 0 : total_ms);
  const bool interval_applies = !immediate && !first_byte_returns && t.ReadIntervalTimeout != 0;

  bool hung_up = false;  // the last poll saw the other end gone
  while (transferred < size) {
    const ssize_t got = read(port->fd, buffer + transferred, size - transferred);
    if (got > 0) {
      transferred += static_cast<std::uint32_t>(got);
      if (first_byte_returns) break;
      continue;
    }
    if (got < 0 && errno != EAGAIN && errno != EINTR) return FailErrno();
    if (hung_up) return Fail(kErrorDeviceNotConnected);
    auto deadline = total_deadline;
    if (interval_applies && transferred > 0) {
      const auto gap_end = SteadyClock::now() + std::chrono::milliseconds(t.ReadIntervalTimeout);
      if (!bounded || gap_end < deadline) deadline = gap_end;
    }
    const bool waits_forever = !bounded && !(interval_applies && transferred > 0);
    const int wait_ms = waits_forever ? -1 : MillisecondsLeft(deadline);
    if (wait_ms == 0) break;
    pollfd ready{port->fd, POLLIN, 0};
    const int polled = poll(&ready, 1, wait_ms);
    if (polled < 0 && errno != EINTR) return FailErrno();
    hung_up = polled > 0 && (ready.revents & (POLLHUP | POLLERR)) != 0;
  }
  return true;
}

bool PosixSerial::WriteFile(PortHandle handle, const std::uint8_t* data, std::uint32_t size,
                            std::uint32_t& transferred) {
  transferred = 0;
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  const CommTimeouts& t = port->timeouts;
  const std::uint64_t total_ms =
      std::uint64_t{t.WriteTotalTimeoutMultiplier} * size + t.WriteTotalTimeoutConstant;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(total_ms);
  while (transferred < size) {
    const ssize_t put = write(port->fd, data + transferred, size - transferred);
    if (put > 0) {
      transferred += static_cast<std::uint32_t>(put);
      continue;
    }
    if (put < 0 && errno != EAGAIN && errno != EINTR) return FailErrno();
    // A write that times out succeeds with what it sent, as on Windows.
    const int wait_ms = total_ms == 0 ? -1 : MillisecondsLeft(deadline);
    if (wait_ms == 0) break;
    pollfd ready{port->fd, POLLOUT, 0};
    if (poll(&ready, 1, wait_ms) < 0 && errno != EINTR) return FailErrno();
  }
  return true;
}

bool PosixSerial::CloseHandle(PortHandle handle) {
  OpenPort* port = Find(handle);
  if (port == nullptr) return Fail(kErrorInvalidHandle);
  static_cast<void>(ioctl(port->fd, TIOCNXCL));
  const int fd = port->fd;
  ports_.erase(handle);
  if (close(fd) != 0) return FailErrno();
  return true;
}

}  // namespace posix

std::unique_ptr<SerialApi> CreateNativeSerial() {
  return std::make_unique<posix::PosixSerial>();
}

}  // namespace platform
