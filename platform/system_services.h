#pragma once
// What start-up and the about box need from the operating system besides
// the serial port: the Windows directory, reading a small file, and opening
// a URL with the system's handler.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace platform {

// A file opened for reading without sharing.
class ReadStream {
 public:
  virtual ~ReadStream() = default;
  // Reads up to size bytes; returns the count read, 0 on a read error.
  virtual std::uint32_t Read(void* buffer, std::uint32_t size) = 0;
};

// Raised when an existing file cannot be opened; what() names the path.
class FileOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SystemServices {
 public:
  virtual ~SystemServices() = default;
  // Copies the Windows directory (no trailing backslash) with its NUL into
  // buffer when it fits in size bytes; returns its length, or the size needed
  // when it does not fit, or 0 on failure.
  virtual std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) = 0;
  // True only for an existing regular file.
  virtual bool FileExists(const std::string& path) = 0;
  // Opens an existing file for reading, denying others write access while it
  // is open; throws FileOpenError when it cannot be opened.
  virtual std::unique_ptr<ReadStream> OpenRead(const std::string& path) = 0;
  // Opens a web or mailto: URL with the system's default handler; the result
  // is not reported.
  virtual void OpenUrl(const std::string& url) = 0;
};

}  // namespace platform
