#include "platform/posix/system_services_posix.h"

#include "platform/native_system_services.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform::posix {

namespace {

std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return (value != nullptr && *value != '\0') ? value : nullptr;
}

class FileStream final : public ReadStream {
 public:
  explicit FileStream(int fd) : fd_(fd) {}
  ~FileStream() override { ::close(fd_); }
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  std::uint32_t Read(void* buffer, std::uint32_t size) override {
    auto* bytes = static_cast<char*>(buffer);
    std::uint32_t done = 0;
    while (done < size) {
      const ssize_t got = ::read(fd_, bytes + done, size - done);
      if (got == 0) break;
      if (got < 0) {
        if (errno == EINTR) continue;
        return 0;
      }
      done += static_cast<std::uint32_t>(got);
    }
    return done;
  }

 private:
  int fd_;
};

}  // namespace

std::uint32_t PosixSystemServices::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
  std::string directory;
  if (const char* dir = NonEmptyEnv("KST90_WINDOWS_DIR")) {
    directory = dir;
  } else if (const char* prefix = NonEmptyEnv("WINEPREFIX")) {
    directory = std::string(prefix) + "/drive_c/windows";
  } else if (const char* home = NonEmptyEnv("HOME")) {
    directory = std::string(home) + "/.wine/drive_c/windows";
  } else {
    return 0;
  }
  const auto length = static_cast<std::uint32_t>(directory.size());
  if (length + 1 > size) return length + 1;
  std::memcpy(buffer, directory.c_str(), length + 1);
  return length;
}

bool PosixSystemServices::FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::unique_ptr<ReadStream> PosixSystemServices::OpenRead(const std::string& path) {
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0 && ::flock(fd, LOCK_SH | LOCK_NB) == 0) return std::make_unique<FileStream>(fd);
  if (fd >= 0) ::close(fd);
  throw FileOpenError("Impossible d'ouvrir le fichier " + path);
}

void PosixSystemServices::OpenUrl(const std::string& url) {
  // Everything the children need is made before fork.
  char program[] = "xdg-open";
  std::string argument = url;
  char* argv[] = {program, argument.data(), nullptr};
  const pid_t child = ::fork();
  if (child == 0) {
    // The grandchild runs the handler and is adopted by init, so nobody
    // waits for the browser and no zombie is left.
    if (::fork() == 0) {
      ::execvp(program, argv);
      ::_exit(127);
    }
    ::_exit(0);
  }
  if (child > 0) {
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
}

}  // namespace platform::posix

namespace platform {

std::unique_ptr<SystemServices> CreateNativeSystemServices() {
  return std::make_unique<posix::PosixSystemServices>();
}

}  // namespace platform
