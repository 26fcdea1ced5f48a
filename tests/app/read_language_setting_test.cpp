#include "app/read_language_setting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr const char* kSettingsPath = "C:\\WINDOWS\\ZerbiumV1.CFG";

class FakeSystem final : public platform::SystemServices {
 public:
  std::string windows_directory = "C:\\WINDOWS";
  std::map<std::string, std::string> files;
  bool locked = false;
  bool read_fails = false;
  std::optional<std::uint32_t> declared_size;

  std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override {
    declared_size = size;
    const auto length = static_cast<std::uint32_t>(windows_directory.size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, windows_directory.c_str(), length + 1);
    return length;
  }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  std::unique_ptr<platform::ReadStream> OpenRead(const std::string& path) override {
    if (locked) throw platform::FileOpenError("Impossible d'ouvrir le fichier " + path);
    return std::make_unique<Stream>(read_fails ? std::string() : files.at(path));
  }
  void OpenUrl(const std::string&) override {}

 private:
  class Stream final : public platform::ReadStream {
   public:
    explicit Stream(std::string contents) : contents_(std::move(contents)) {}
    std::uint32_t Read(void* buffer, std::uint32_t size) override {
      const auto count = std::min<std::size_t>(size, contents_.size());
      std::memcpy(buffer, contents_.data(), count);
      return static_cast<std::uint32_t>(count);
    }

   private:
    std::string contents_;
  };
};

TEST(ReadLanguageSetting, ReadsTheIndexFromTheSettingsFile) {
  using namespace std::string_literals;
  const std::string padding(200, ' ');
  const struct {
    const char* label;
    std::string contents;
    int index;
  } cases[] = {
      {"English", "Langue=1;", 1},
      {"French", "Langue=0;", 0},
      {"blanks around the value", "Langue = 1 ;", 1},
      {"line breaks everywhere", "\r\n Langue\r\n=\r\n1\r\n;\r\n", 1},
      {"search starts at the key", "Mode=3;Langue=1;", 1},
      {"no closing semicolon", "Langue=1", 0},
      {"other integers are returned", "Langue=2;", 2},
      {"negative", "Langue=-1;", -1},
      {"explicit plus", "Langue=+1;", 1},
      {"not an integer", "Langue=x;", 0},
      {"trailing letter", "Langue=1x;", 0},
      {"inner blank", "Langue=1 1;", 0},
      {"sign alone", "Langue=-;", 0},
      {"largest int", "Langue=2147483647;", INT_MAX},
      {"smallest int", "Langue=-2147483648;", INT_MIN},
      {"too large for an int", "Langue=2147483648;", 0},
      {"far too large", "Langue=99999999999999999999;", 0},
      {"semicolon right after equals", "Langue=;1;", 0},
      {"semicolon before equals", "Langue;=1;", 0},
      {"no key: first pair counts", "Mode=1;", 1},
      {"no key, no equals", "1;", 1},
      {"key is case-sensitive", "langue=1;", 1},
      {"key beyond 200 bytes is not seen", "Mode=1;" + padding + "Langue=0;", 1},
      {"NUL ends the text", "A=1;\0Langue=0;"s, 1},
      {"empty file", "", 0},
      {"bytes above 127 are not blanks",
       "Langue=\xA0"
       "1;",
       0},
  };
  for (const auto& c : cases) {
    FakeSystem system;
    system.files[kSettingsPath] = c.contents;
    EXPECT_EQ(ReadLanguageSetting(system), c.index) << c.label;
    EXPECT_EQ(system.declared_size, 198u) << c.label;
  }
}

TEST(ReadLanguageSetting, NoUsableFileMeansFrench) {
  FakeSystem missing;
  EXPECT_EQ(ReadLanguageSetting(missing), 0);

  FakeSystem unreadable;
  unreadable.files[kSettingsPath] = "Langue=1;";
  unreadable.read_fails = true;
  EXPECT_EQ(ReadLanguageSetting(unreadable), 0);

  // 197 characters and the NUL fill the declared 198 bytes; one more does not fit.
  for (const std::size_t length : {std::size_t{0}, std::size_t{198}, std::size_t{250}}) {
    FakeSystem odd_directory;
    odd_directory.windows_directory = std::string(length, 'W');
    odd_directory.files[odd_directory.windows_directory + "\\ZerbiumV1.CFG"] = "Langue=1;";
    EXPECT_EQ(ReadLanguageSetting(odd_directory), 0) << "directory of " << length;
  }
  FakeSystem longest;
  longest.windows_directory = std::string(197, 'W');
  longest.files[longest.windows_directory + "\\ZerbiumV1.CFG"] = "Langue=1;";
  EXPECT_EQ(ReadLanguageSetting(longest), 1);
}

TEST(ReadLanguageSetting, FileThatCannotBeOpenedIsReported) {
  FakeSystem system;
  system.files[kSettingsPath] = "Langue=1;";
  system.locked = true;
  try {
    ReadLanguageSetting(system);
    FAIL() << "no error reported";
  } catch (const platform::FileOpenError& error) {
    EXPECT_STREQ(error.what(), "Impossible d'ouvrir le fichier C:\\WINDOWS\\ZerbiumV1.CFG");
  }
}

}  // namespace
