#pragma once
// The serial API over Linux ttys. COM numbers name devices as com_names.h
// says; a port is opened for exclusive use (TIOCEXCL and an flock, so a second
// opener gets ERROR_ACCESS_DENIED), transfers are bounded by the port's
// COMMTIMEOUTS, and errno values are turned into the Windows error codes.

#include <cstdint>
#include <map>
#include <memory>

#include "platform/posix/com_names.h"
#include "platform/serial_api.h"

namespace platform::posix {

class PosixSerial final : public SerialApi {
 public:
  explicit PosixSerial(ComRoots roots = DefaultComRoots());
  ~PosixSerial() override;  // closes the ports left open
  PosixSerial(const PosixSerial&) = delete;
  PosixSerial& operator=(const PosixSerial&) = delete;

  PortHandle CreateFileA(const char* device_name) override;
  bool GetCommState(PortHandle port, Dcb& settings) override;
  bool SetCommState(PortHandle port, const Dcb& settings) override;
  bool GetCommTimeouts(PortHandle port, CommTimeouts& timeouts) override;
  bool SetCommTimeouts(PortHandle port, const CommTimeouts& timeouts) override;
  bool PurgeComm(PortHandle port, std::uint32_t flags) override;
  bool ReadFile(PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                std::uint32_t& transferred) override;
  bool WriteFile(PortHandle port, const std::uint8_t* data, std::uint32_t size,
                 std::uint32_t& transferred) override;
  bool CloseHandle(PortHandle port) override;
  std::uint32_t GetLastError() override { return last_error_; }

 private:
  struct OpenPort;
  OpenPort* Find(PortHandle port);
  bool Fail(std::uint32_t code);
  bool FailErrno();

  ComRoots roots_;
  std::map<PortHandle, std::unique_ptr<OpenPort>> ports_;
  std::uint32_t last_error_ = 0;
};

// The Windows error code that stands for an errno value.
std::uint32_t WindowsErrorForErrno(int error);

}  // namespace platform::posix
