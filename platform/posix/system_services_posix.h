#pragma once
// The system services on Linux, for running the Windows program's logic
// natively.
//
// Windows directory: $KST90_WINDOWS_DIR when set, else the directory a
// Windows program run under Wine sees as its Windows directory,
// ${WINEPREFIX:-$HOME/.wine}/drive_c/windows, so the language set by the
// maker's software installed under Wine is found.
//
// Paths: the program appends "\ZerbiumV1.CFG" to that directory as it does
// on Windows, so the file functions read every backslash as a '/'.
//
// Opening takes a shared lock without waiting: a file that another program
// holds with an exclusive lock cannot be opened, as a file held open without
// sharing cannot be on Windows.

#include "platform/system_services.h"

namespace platform::posix {

class PosixSystemServices final : public SystemServices {
 public:
  std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override;
  bool FileExists(const std::string& path) override;
  std::unique_ptr<ReadStream> OpenRead(const std::string& path) override;
  // Starts xdg-open on the URL and does not wait for it.
  void OpenUrl(const std::string& url) override;
};

}  // namespace platform::posix
