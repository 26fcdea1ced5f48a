#include "platform/win32/system_services_win32.h"

#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

#include "platform/native_system_services.h"

namespace platform::win32 {

namespace {

class FileStream final : public ReadStream {
 public:
  explicit FileStream(HANDLE file) : file_(file) {}
  ~FileStream() override { ::CloseHandle(file_); }
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  std::uint32_t Read(void* buffer, std::uint32_t size) override {
    DWORD read = 0;
    return ::ReadFile(file_, buffer, size, &read, nullptr) ? read : 0;
  }

 private:
  HANDLE file_;
};

}  // namespace

std::uint32_t Win32SystemServices::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
  return ::GetWindowsDirectoryA(buffer, size);
}

bool Win32SystemServices::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::unique_ptr<ReadStream> Win32SystemServices::OpenRead(const std::string& path) {
  // Share mode 0: no one else may have the file open, nor open it meanwhile.
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw FileOpenError("Impossible d'ouvrir le fichier " + path);
  return std::make_unique<FileStream>(file);
}

void Win32SystemServices::OpenUrl(const std::string& url) {
  ::ShellExecuteA(nullptr, nullptr, url.c_str(), "", "", SW_SHOWNORMAL);
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<SystemServices> CreateNativeSystemServices() {
  return std::make_unique<win32::Win32SystemServices>();
}

}  // namespace platform
