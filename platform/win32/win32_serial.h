#pragma once
// The serial API as Windows provides it: each call goes to its Win32
// namesake, with our Dcb converted member by member to the system's DCB.

#include <cstdint>

#include "platform/serial_api.h"

namespace platform::win32 {

class Win32Serial final : public SerialApi {
 public:
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
  bool Check(bool succeeded);  // keeps the system error of a failed call
  std::uint32_t last_error_ = 0;
};

}  // namespace platform::win32
