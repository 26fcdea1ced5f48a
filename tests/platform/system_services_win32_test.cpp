#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/win32/system_services_win32.h"

namespace {

class Win32System : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    dir_ = std::string(temp) + "kst_system_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(dir_.c_str(), nullptr);
    path_ = dir_ + "\\ZerbiumV1.CFG";
    std::ofstream(path_, std::ios::binary) << "Langue=1;";
  }
  void TearDown() override {
    ::DeleteFileA(path_.c_str());
    ::RemoveDirectoryA(dir_.c_str());
  }

  std::string dir_;
  std::string path_;
  platform::win32::Win32SystemServices system_;
};

TEST_F(Win32System, WindowsDirectoryIsADirectoryNotAFile) {
  char buffer[200];
  const std::uint32_t length = system_.GetWindowsDirectoryA(buffer, 198);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, 198u);
  EXPECT_FALSE(system_.FileExists(buffer));
  EXPECT_NE(::GetFileAttributesA(buffer), INVALID_FILE_ATTRIBUTES);
  EXPECT_GT(system_.GetWindowsDirectoryA(buffer, 1), 1u);  // the size it needs
}

TEST_F(Win32System, ReadsAnExistingFile) {
  EXPECT_TRUE(system_.FileExists(path_));
  EXPECT_FALSE(system_.FileExists(dir_ + "\\missing.CFG"));
  const auto stream = system_.OpenRead(path_);
  char buffer[200];
  EXPECT_EQ(stream->Read(buffer, 200), 9u);
  EXPECT_EQ(std::string(buffer, 9), "Langue=1;");
  EXPECT_EQ(stream->Read(buffer, 200), 0u);
}

TEST_F(Win32System, FileHeldOpenCannotBeOpened) {
  const HANDLE holder = ::CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  try {
    system_.OpenRead(path_);
    ADD_FAILURE() << "opened a file held by another";
  } catch (const platform::FileOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "Impossible d'ouvrir le fichier " + path_);
  }
  ::CloseHandle(holder);
  EXPECT_NE(system_.OpenRead(path_), nullptr);
  {
    // While we hold it without sharing, nobody else gets it either.
    const auto stream = system_.OpenRead(path_);
    EXPECT_EQ(::CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
  }
}

}  // namespace
