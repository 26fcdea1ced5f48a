#include "platform/memory_port_map.h"

#include <gtest/gtest.h>

namespace {

using platform::SerialPortMapValue;

std::vector<std::string> Data(platform::MemoryPortMap& map) {
  std::vector<std::string> data;
  const auto values = map.Read();
  for (const SerialPortMapValue& v : values.value()) data.push_back(v.name + "=" + v.data);
  return data;
}

TEST(MemoryPortMap, ChangesLikeARegistryKey) {
  platform::MemoryPortMap map;
  EXPECT_EQ(Data(map), std::vector<std::string>{});
  map.SetValue("\\Device\\Serial0", "COM1");
  map.SetValue("\\Device\\Silabser0", "COM4");
  map.SetValue("\\Device\\Serial0", "COM2");  // changed in place, order kept
  EXPECT_EQ(Data(map),
            (std::vector<std::string>{"\\Device\\Serial0=COM2", "\\Device\\Silabser0=COM4"}));
  map.RemoveValue("\\Device\\Serial0");
  EXPECT_EQ(Data(map), std::vector<std::string>{"\\Device\\Silabser0=COM4"});
  map.RemoveKey();
  EXPECT_FALSE(map.Read().has_value());
  map.SetValue("\\Device\\VCP0", "COM5");
  EXPECT_EQ(Data(map), std::vector<std::string>{"\\Device\\VCP0=COM5"});
  EXPECT_EQ(map.reads(), 5);
}

}  // namespace
