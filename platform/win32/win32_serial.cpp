#include "platform/win32/win32_serial.h"

#include <windows.h>

#include <memory>

#include "platform/native_serial.h"

namespace platform {

namespace win32 {

namespace {

HANDLE ToHandle(PortHandle port) {
  return reinterpret_cast<HANDLE>(port);
}

DCB ToSystem(const Dcb& d) {
  DCB s{};
  s.DCBlength = sizeof(DCB);
  s.BaudRate = d.BaudRate;
  s.fBinary = d.fBinary;
  s.fParity = d.fParity;
  s.fOutxCtsFlow = d.fOutxCtsFlow;
  s.fOutxDsrFlow = d.fOutxDsrFlow;
  s.fDtrControl = d.fDtrControl;
  s.fDsrSensitivity = d.fDsrSensitivity;
  s.fTXContinueOnXoff = d.fTXContinueOnXoff;
  s.fOutX = d.fOutX;
  s.fInX = d.fInX;
  s.fErrorChar = d.fErrorChar;
  s.fNull = d.fNull;
  s.fRtsControl = d.fRtsControl;
  s.fAbortOnError = d.fAbortOnError;
  s.fDummy2 = d.fDummy2;
  s.wReserved = d.wReserved;
  s.XonLim = d.XonLim;
  s.XoffLim = d.XoffLim;
  s.ByteSize = d.ByteSize;
  s.Parity = d.Parity;
  s.StopBits = d.StopBits;
  s.XonChar = d.XonChar;
  s.XoffChar = d.XoffChar;
  s.ErrorChar = d.ErrorChar;
  s.EofChar = d.EofChar;
  s.EvtChar = d.EvtChar;
  s.wReserved1 = d.wReserved1;
  return s;
}

Dcb FromSystem(const DCB& s) {
  Dcb d{};
  d.DCBlength = s.DCBlength;
  d.BaudRate = s.BaudRate;
  d.fBinary = s.fBinary;
  d.fParity = s.fParity;
  d.fOutxCtsFlow = s.fOutxCtsFlow;
  d.fOutxDsrFlow = s.fOutxDsrFlow;
  d.fDtrControl = s.fDtrControl;
  d.fDsrSensitivity = s.fDsrSensitivity;
  d.fTXContinueOnXoff = s.fTXContinueOnXoff;
  d.fOutX = s.fOutX;
  d.fInX = s.fInX;
  d.fErrorChar = s.fErrorChar;
  d.fNull = s.fNull;
  d.fRtsControl = s.fRtsControl;
  d.fAbortOnError = s.fAbortOnError;
  d.fDummy2 = s.fDummy2;
  d.wReserved = s.wReserved;
  d.XonLim = s.XonLim;
  d.XoffLim = s.XoffLim;
  d.ByteSize = s.ByteSize;
  d.Parity = s.Parity;
  d.StopBits = s.StopBits;
  d.XonChar = s.XonChar;
  d.XoffChar = s.XoffChar;
  d.ErrorChar = s.ErrorChar;
  d.EofChar = s.EofChar;
  d.EvtChar = s.EvtChar;
  d.wReserved1 = s.wReserved1;
  return d;
}

}  // namespace

bool Win32Serial::Check(bool succeeded) {
  if (!succeeded) last_error_ = ::GetLastError();
  return succeeded;
}

PortHandle Win32Serial::CreateFileA(const char* device_name) {
  const HANDLE port = ::CreateFileA(device_name, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (!Check(port != INVALID_HANDLE_VALUE)) return kInvalidHandle;
  return reinterpret_cast<PortHandle>(port);
}

bool Win32Serial::GetCommState(PortHandle port, Dcb& settings) {
  DCB system{};
  system.DCBlength = sizeof(DCB);
  if (!Check(::GetCommState(ToHandle(port), &system) != FALSE)) return false;
  settings = FromSystem(system);
  return true;
}

bool Win32Serial::SetCommState(PortHandle port, const Dcb& settings) {
  DCB system = ToSystem(settings);
  return Check(::SetCommState(ToHandle(port), &system) != FALSE);
}

bool Win32Serial::GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) {
  COMMTIMEOUTS system{};
  if (!Check(::GetCommTimeouts(ToHandle(port), &system) != FALSE)) return false;
  timeouts = {system.ReadIntervalTimeout, system.ReadTotalTimeoutMultiplier,
              system.ReadTotalTimeoutConstant, system.WriteTotalTimeoutMultiplier,
              system.WriteTotalTimeoutConstant};
  return true;
}

bool Win32Serial::SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) {
  COMMTIMEOUTS system{timeouts.ReadIntervalTimeout, timeouts.ReadTotalTimeoutMultiplier,
                      timeouts.ReadTotalTimeoutConstant, timeouts.WriteTotalTimeoutMultiplier,
                      timeouts.WriteTotalTimeoutConstant};
  return Check(::SetCommTimeouts(ToHandle(port), &system) != FALSE);
}

bool Win32Serial::PurgeComm(PortHandle port, std::uint32_t flags) {
  return Check(::PurgeComm(ToHandle(port), flags) != FALSE);
}

bool Win32Serial::ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                           std::uint32_t& transferred) {
  DWORD read = 0;
  const bool ok = ::ReadFile(ToHandle(port), buffer, size, &read, nullptr) != FALSE;
  transferred = read;
  return Check(ok);
}

bool Win32Serial::WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                            std::uint32_t& transferred) {
  DWORD written = 0;
  const bool ok = ::WriteFile(ToHandle(port), data, size, &written, nullptr) != FALSE;
  transferred = written;
  return Check(ok);
}

bool Win32Serial::CloseHandle(PortHandle port) {
  return Check(::CloseHandle(ToHandle(port)) != FALSE);
}

}  // namespace win32

std::unique_ptr<SerialApi> CreateNativeSerial() {
  return std::make_unique<win32::Win32Serial>();
}

}  // namespace platform
