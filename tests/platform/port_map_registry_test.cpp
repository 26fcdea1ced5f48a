#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/serial_port_map_registry.h"

namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

// A key of the test's own under HKEY_CURRENT_USER stands in for the
// machine's map, which a test must not change.
class RegistryMap : public ::testing::Test {
 protected:
  void SetUp() override {
    subkey_ = "Software\\KstPortMapTest" + std::to_string(::GetCurrentProcessId());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, subkey_.c_str());
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegCloseKey(key_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, subkey_.c_str());
  }

  void SetString(const char* name, const std::string& data) {
    ASSERT_EQ(::RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>(data.size() + 1)),
              ERROR_SUCCESS);
  }

  Values Read() {
    platform::win32::RegistrySerialPortMap map(HKEY_CURRENT_USER, subkey_);
    const auto values = map.Read();
    EXPECT_TRUE(values.has_value());
    Values pairs;
    if (values) {
      for (const auto& v : *values) pairs.emplace_back(v.name, v.data);
    }
    return pairs;
  }

  std::string subkey_;
  HKEY key_ = nullptr;
};

TEST_F(RegistryMap, ReadsStringValuesInRegistryOrder) {
  EXPECT_EQ(Read(), Values{});
  // Windows lists values in the order they were made, Wine in name order:
  // they are made in name order here so both agree.
  SetString("\\Device\\Serial0", "COM1");
  SetString("\\Device\\Silabser0", "COM4");
  // String data stored without its NUL.
  ASSERT_EQ(::RegSetValueExA(key_, "\\Device\\VCP0", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>("COM12"), 5),
            ERROR_SUCCESS);
  // Longer than the first buffer the reader tries.
  const std::string long_name = "\\Device\\" + std::string(600, 'Z');
  SetString(long_name.c_str(), "COM9");
  const DWORD number = 7;
  ASSERT_EQ(::RegSetValueExA(key_, "\\Device\\ZzNumber", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof number),
            ERROR_SUCCESS);
  EXPECT_EQ(Read(), (Values{{"\\Device\\Serial0", "COM1"},
                            {"\\Device\\Silabser0", "COM4"},
                            {"\\Device\\VCP0", "COM12"},
                            {long_name, "COM9"}}));
}

TEST_F(RegistryMap, MissingKeyIsNoMap) {
  platform::win32::RegistrySerialPortMap map(HKEY_CURRENT_USER, subkey_ + "\\Absent");
  EXPECT_FALSE(map.Read().has_value());
}

}  // namespace
