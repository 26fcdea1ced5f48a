// The serial port channel of CP04: opening, line settings, one-byte transfers.

#include "link/Com_p04.h"

#include <cstdio>

namespace {

constexpr std::uint32_t kLineRate = 9600;
constexpr std::uint32_t kPurgeSettleMs = 1000;  // lets the loader finish what it was sending
constexpr std::int32_t kAllowedRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                          19200, 38400, 56000, 57600, 115200, 128000, 256000};

platform::Dcb LoaderLineSettings() {
  platform::Dcb dcb{};
  dcb.DCBlength = sizeof(platform::Dcb);
  dcb.BaudRate = kLineRate;
  dcb.fBinary = 1;
  dcb.fParity = 1;
  dcb.fDtrControl = platform::kDtrControlDisable;
  dcb.fRtsControl = platform::kRtsControlEnable;
  dcb.XonLim = 100;
  dcb.XoffLim = 100;
  dcb.ByteSize = 8;
  dcb.Parity = platform::kEvenParity;
  dcb.StopBits = platform::kOneStopBit;
  dcb.XonChar = 1;
  dcb.XoffChar = 2;
  dcb.ErrorChar = 4;
  dcb.EofChar = 0;
  dcb.EvtChar = 3;
  return dcb;
}

}  // namespace

CP04::CP04(platform::SerialApi& serial, platform::Clock& clock)
    : serial_(serial),
      clock_(clock),
      Settings(LoaderLineSettings()),
      Timeouts{500, 100, 1000, 100, 1000} {}

CP04::~CP04() {
  Disconnect();
  Close();
}

std::int32_t CP04::Finish(std::int32_t code) {
  ResultCode = code;
  return code;
}

std::int32_t CP04::SystemError() {
  return Finish(static_cast<std::int32_t>(serial_.GetLastError()));
}

void CP04::SetPort(std::int32_t n) {
  if (n >= 0) Port = n;
}

std::int32_t CP04::Open() {
  if (const std::int32_t code = Close(); code != kLinkOk) return Finish(code);

  char name[32];
  std::snprintf(name, sizeof name, "\\\\.\\COM%i", static_cast<int>(Port));
  Handle = serial_.CreateFileA(name);
  if (Handle == platform::kInvalidHandle) return SystemError();

  // A failure below leaves the port open; the next Close puts back what was saved.
  if (!serial_.GetCommState(Handle, SavedSettings)) return SystemError();
  if (const std::int32_t code = SetBaudRate(static_cast<std::int32_t>(kLineRate)); code != kLinkOk)
    return Finish(code);
  if (!serial_.SetCommState(Handle, Settings)) return SystemError();
  if (!serial_.GetCommTimeouts(Handle, SavedTimeouts)) return SystemError();
  if (!serial_.SetCommTimeouts(Handle, Timeouts)) return SystemError();
  return Finish(kLinkOk);
}

std::int32_t CP04::Close() {
  std::int32_t code = kLinkOk;
  if (IsOpen()) {
    if (Connected == 1) Disconnect();  // on success it has closed the port itself
    if (IsOpen()) {
      // The handle is released even when the port refuses its old settings
      // back (an adapter pulled out does): keeping it would block every later
      // Open until the program is restarted.
      if (!serial_.SetCommState(Handle, SavedSettings) ||
          !serial_.SetCommTimeouts(Handle, SavedTimeouts)) {
        code = static_cast<std::int32_t>(serial_.GetLastError());
      }
      if (serial_.CloseHandle(Handle)) {
        Handle = platform::kInvalidHandle;
      } else if (code == kLinkOk) {
        code = static_cast<std::int32_t>(serial_.GetLastError());
      }
    }
  }
  Connected = 0;
  LoaderState = kLoaderIdle;
  return Finish(code);
}

std::int32_t CP04::SetBaudRate(std::int32_t rate) {
  Settings.BaudRate = kLineRate;
  for (const std::int32_t allowed : kAllowedRates) {
    if (rate == allowed) Settings.BaudRate = static_cast<std::uint32_t>(rate);
  }
  if (IsOpen() && !serial_.SetCommState(Handle, Settings)) return SystemError();
  return Finish(kLinkOk);
}

std::int32_t CP04::Purge() {
  if (!IsOpen()) return Finish(kLinkPortNotOpen);
  Wait(kPurgeSettleMs);
  if (!serial_.PurgeComm(Handle, platform::kPurgeTxAbort | platform::kPurgeRxAbort |
                                     platform::kPurgeTxClear | platform::kPurgeRxClear)) {
    return SystemError();
  }
  return Finish(kLinkOk);
}

std::int32_t CP04::WriteByte(std::uint8_t b) {
  if (!IsOpen()) return Finish(kLinkPortNotOpen);
  std::uint32_t written = 0;
  if (!serial_.WriteFile(Handle, &b, 1, written)) return SystemError();
  // A write cut short by its time-out sent nothing; report it as the system
  // does for a timed-out transfer (ERROR_SEM_TIMEOUT) instead of success.
  if (written != 1) return Finish(static_cast<std::int32_t>(platform::kErrorSemTimeout));
  return Finish(kLinkOk);
}

std::int32_t CP04::ReadByte(std::int32_t& out) {
  if (!IsOpen()) return Finish(kLinkPortNotOpen);
  std::uint8_t b = 0;
  std::uint32_t read = 0;
  if (!serial_.ReadFile(Handle, &b, 1, read)) return SystemError();
  if (read == 0) return Finish(kLinkNoReply);
  out = b;
  return Finish(kLinkOk);
}

void CP04::Wait(std::uint32_t milliseconds) {
  // Elapsed time, not an absolute end tick, so the wait survives the tick wrap.
  const std::uint32_t start = clock_.GetTickCount();
  while (clock_.GetTickCount() - start < milliseconds) {
  }
}
