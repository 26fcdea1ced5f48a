#pragma once
// The serial-port and timing calls the device link is written against. They
// mirror the system calls of the Windows serial API one for one, so the link
// reads the same on every platform; each platform supplies an implementation.

#include <cstdint>

namespace platform {

// An open serial port; kInvalidHandle means "not open".
using PortHandle = std::intptr_t;
inline constexpr PortHandle kInvalidHandle = -1;

// Line settings, member for member the Windows device control block (28 bytes).
struct Dcb {
  std::uint32_t DCBlength;
  std::uint32_t BaudRate;
  std::uint32_t fBinary : 1;
  std::uint32_t fParity : 1;
  std::uint32_t fOutxCtsFlow : 1;
  std::uint32_t fOutxDsrFlow : 1;
  std::uint32_t fDtrControl : 2;
  std::uint32_t fDsrSensitivity : 1;
  std::uint32_t fTXContinueOnXoff : 1;
  std::uint32_t fOutX : 1;
  std::uint32_t fInX : 1;
  std::uint32_t fErrorChar : 1;
  std::uint32_t fNull : 1;
  std::uint32_t fRtsControl : 2;
  std::uint32_t fAbortOnError : 1;
  std::uint32_t fDummy2 : 17;
  std::uint16_t wReserved;
  std::uint16_t XonLim;
  std::uint16_t XoffLim;
  std::uint8_t ByteSize;
  std::uint8_t Parity;
  std::uint8_t StopBits;
  char XonChar;
  char XoffChar;
  char ErrorChar;
  char EofChar;
  char EvtChar;
  std::uint16_t wReserved1;
};
static_assert(sizeof(Dcb) == 28, "Dcb must keep the Windows layout");

// Time-outs in milliseconds, as the Windows COMMTIMEOUTS structure holds them.
struct CommTimeouts {
  std::uint32_t ReadIntervalTimeout;
  std::uint32_t ReadTotalTimeoutMultiplier;
  std::uint32_t ReadTotalTimeoutConstant;
  std::uint32_t WriteTotalTimeoutMultiplier;
  std::uint32_t WriteTotalTimeoutConstant;
};

// Values of Dcb members and PurgeComm flags, with the Windows numbering.
inline constexpr std::uint32_t kDtrControlDisable = 0;
inline constexpr std::uint32_t kRtsControlEnable = 1;
inline constexpr std::uint8_t kNoParity = 0;
inline constexpr std::uint8_t kOddParity = 1;
inline constexpr std::uint8_t kEvenParity = 2;
inline constexpr std::uint8_t kOneStopBit = 0;
inline constexpr std::uint8_t kTwoStopBits = 2;
inline constexpr std::uint32_t kPurgeTxAbort = 0x1;
inline constexpr std::uint32_t kPurgeRxAbort = 0x2;
inline constexpr std::uint32_t kPurgeTxClear = 0x4;
inline constexpr std::uint32_t kPurgeRxClear = 0x8;

// System error codes, numbered as Windows numbers them, which every
// implementation reports through GetLastError.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;
inline constexpr std::uint32_t kErrorGenFailure = 31;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorSemTimeout = 121;
inline constexpr std::uint32_t kErrorOperationAborted = 995;
inline constexpr std::uint32_t kErrorIoDevice = 1117;
inline constexpr std::uint32_t kErrorDeviceNotConnected = 1167;

class SerialApi {
 public:
  virtual ~SerialApi() = default;

  // Opens the existing serial device named like "\\.\COM4" for exclusive,
  // synchronous reading and writing; kInvalidHandle on failure.
  virtual PortHandle CreateFileA(const char* device_name) = 0;
  virtual bool GetCommState(PortHandle port, Dcb& settings) = 0;
  virtual bool SetCommState(PortHandle port, const Dcb& settings) = 0;
  virtual bool GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) = 0;
  virtual bool SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) = 0;
  // flags: a combination of the kPurge* values.
  virtual bool PurgeComm(PortHandle port, std::uint32_t flags) = 0;
  // Bounded by the port's time-outs; a read that times out succeeds with
  // transferred = 0, and so may a write.
  virtual bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                        std::uint32_t& transferred) = 0;
  virtual bool WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                         std::uint32_t& transferred) = 0;
  virtual bool CloseHandle(PortHandle port) = 0;
  // The error code of the last call that failed on this object.
  virtual std::uint32_t GetLastError() = 0;
};

}  // namespace platform
