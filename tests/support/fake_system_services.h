#pragma once
// SystemServices in memory: a Windows directory, files by path (some held
// open by "another program"), and a record of the URLs opened.

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/system_services.h"

namespace kst_test {

class FakeSystemServices final : public platform::SystemServices {
 public:
  std::string windows_directory = "C:\\WINDOWS";
  std::map<std::string, std::string> files;  // path -> contents
  std::set<std::string> locked;              // exist, but cannot be opened
  std::vector<std::string> opened_urls;

  std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override {
    const auto length = static_cast<std::uint32_t>(windows_directory.size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, windows_directory.c_str(), length + 1);
    return length;
  }
  bool FileExists(const std::string& path) override {
    return files.count(path) != 0 || locked.count(path) != 0;
  }
  std::unique_ptr<platform::ReadStream> OpenRead(const std::string& path) override {
    if (locked.count(path) != 0 || files.count(path) == 0) {
      throw platform::FileOpenError("Impossible d'ouvrir le fichier " + path);
    }
    return std::make_unique<Stream>(files.at(path));
  }
  void OpenUrl(const std::string& url) override { opened_urls.push_back(url); }

 private:
  class Stream final : public platform::ReadStream {
   public:
    explicit Stream(std::string contents) : contents_(std::move(contents)) {}
    std::uint32_t Read(void* buffer, std::uint32_t size) override {
      const std::size_t count = std::min<std::size_t>(size, contents_.size() - offset_);
      std::memcpy(buffer, contents_.data() + offset_, count);
      offset_ += count;
      return static_cast<std::uint32_t>(count);
    }

   private:
    std::string contents_;
    std::size_t offset_ = 0;
  };
};

}  // namespace kst_test
