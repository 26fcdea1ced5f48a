#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/posix/system_services_posix.h"

namespace {

namespace fs = std::filesystem;

// A scratch directory and the environment variables a test changes, put
// back afterwards.
class PosixSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kst_system_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    for (const char* name : {"KST90_WINDOWS_DIR", "WINEPREFIX", "HOME", "PATH"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
    fs::remove_all(dir_);
  }

  std::string WindowsDirectory(std::uint32_t size = 260) {
    std::string buffer(size, '\xFF');
    const std::uint32_t length = system_.GetWindowsDirectoryA(buffer.data(), size);
    return length < size ? std::string(buffer.c_str()) : "needs " + std::to_string(length);
  }

  fs::path dir_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
  platform::posix::PosixSystemServices system_;
};

TEST_F(PosixSystem, WindowsDirectoryComesFromTheEnvironment) {
  ::setenv("HOME", "/home/user", 1);
  ::unsetenv("WINEPREFIX");
  ::unsetenv("KST90_WINDOWS_DIR");
  EXPECT_EQ(WindowsDirectory(), "/home/user/.wine/drive_c/windows");
  ::setenv("WINEPREFIX", "", 1);  // empty counts as unset
  EXPECT_EQ(WindowsDirectory(), "/home/user/.wine/drive_c/windows");
  ::setenv("WINEPREFIX", "/opt/prefix", 1);
  EXPECT_EQ(WindowsDirectory(), "/opt/prefix/drive_c/windows");
  ::setenv("KST90_WINDOWS_DIR", "/srv/win", 1);
  EXPECT_EQ(WindowsDirectory(), "/srv/win");
  // "/srv/win" and its NUL need 9 bytes.
  EXPECT_EQ(WindowsDirectory(9), "/srv/win");
  EXPECT_EQ(WindowsDirectory(8), "needs 9");

  ::unsetenv("KST90_WINDOWS_DIR");
  ::unsetenv("WINEPREFIX");
  ::unsetenv("HOME");
  char buffer[16];
  EXPECT_EQ(system_.GetWindowsDirectoryA(buffer, sizeof buffer), 0u);
}

TEST_F(PosixSystem, ReadsTheSettingsFileThroughItsWindowsPath) {
  std::ofstream(dir_ / "ZerbiumV1.CFG") << "Langue=1;";
  fs::create_directory(dir_ / "folder");
  const std::string path = dir_.string() + "\\ZerbiumV1.CFG";

  EXPECT_TRUE(system_.FileExists(path));
  EXPECT_FALSE(system_.FileExists(dir_.string() + "\\folder"));
  EXPECT_FALSE(system_.FileExists(dir_.string() + "\\missing.CFG"));

  const auto stream = system_.OpenRead(path);
  char buffer[200];
  EXPECT_EQ(stream->Read(buffer, 4), 4u);
  EXPECT_EQ(stream->Read(buffer + 4, 196), 5u);
  EXPECT_EQ(std::string(buffer, 9), "Langue=1;");
  EXPECT_EQ(stream->Read(buffer, 200), 0u);
}

TEST_F(PosixSystem, FileHeldExclusivelyCannotBeOpened) {
  std::ofstream(dir_ / "ZerbiumV1.CFG") << "Langue=1;";
  const std::string path = dir_.string() + "\\ZerbiumV1.CFG";
  const int holder = ::open((dir_ / "ZerbiumV1.CFG").c_str(), O_RDONLY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  try {
    system_.OpenRead(path);
    ADD_FAILURE() << "opened a locked file";
  } catch (const platform::FileOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "Impossible d'ouvrir le fichier " + path);
  }
  ::close(holder);
  EXPECT_NE(system_.OpenRead(path), nullptr);
  EXPECT_THROW(system_.OpenRead(dir_.string() + "\\missing.CFG"), platform::FileOpenError);
}

TEST_F(PosixSystem, OpenUrlStartsXdgOpenWithoutWaiting) {
  // A stand-in xdg-open that records its arguments, then lingers.
  const fs::path record = dir_ / "opened";
  std::ofstream(dir_ / "xdg-open")
      << "#!/bin/sh\nexec >/dev/null 2>&1\nprintf '%s|' \"$@\" > '" << record.string()
      << ".tmp'\nmv '" << record.string() << ".tmp' '" << record.string() << "'\nsleep 5\n";
  fs::permissions(dir_ / "xdg-open", fs::perms::owner_all);
  ::setenv("PATH", (dir_.string() + ":/usr/bin:/bin").c_str(), 1);

  const auto start = std::chrono::steady_clock::now();
  system_.OpenUrl("mailto: support@voranex.example");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  for (int i = 0; i < 200 && !fs::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  std::ifstream file(record);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "mailto: support@voranex.example|");
}

}  // namespace
