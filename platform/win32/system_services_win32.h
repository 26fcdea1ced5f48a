#pragma once
// The system services on Windows: the Windows directory, files opened
// without sharing, and the shell's handler for URLs.

#include "platform/system_services.h"

namespace platform::win32 {

class Win32SystemServices final : public SystemServices {
 public:
  std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override;
  bool FileExists(const std::string& path) override;
  std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
  void OpenUrl(const std::string& url) override;
};

}  // namespace platform::win32
