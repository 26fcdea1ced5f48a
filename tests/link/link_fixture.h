#pragma once
// A link on COM4 with a simulated device behind it, on virtual time.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/Com_p04.h"
#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"

inline constexpr int kDeviceCom = 4;

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() { link.SetPort(kDeviceCom); }

  // Connects and forgets the wake-up exchange, so tests see only their own bytes.
  void Connect() {
    ASSERT_EQ(link.Connect(1), kLinkOk);
    device->ClearLog();
  }
  void ConnectForProgramming() {
    Connect();
    ASSERT_EQ(link.Unlock(), kLinkOk);
    ASSERT_EQ(link.StartProgramming(), kLinkOk);
    device->ClearLog();
  }

  // Puts a device set up otherwise in place of the default one.
  void UseDevice(sim::DeviceConfig config) {
    device = &serial.AddDevice(kDeviceCom, std::move(config));
  }

  static std::string Text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
  }
  std::string ToDevice() const { return Text(device->BytesInLog(sim::Direction::kToDevice)); }
  std::string FromDevice() const { return Text(device->BytesInLog(sim::Direction::kFromDevice)); }
  std::uint32_t Elapsed(std::uint32_t since) const { return clock.Now() - since; }

  platform::VirtualClock clock{5000};
  sim::SimulatedSerial serial{clock};
  sim::LoaderDevice* device = &serial.AddDevice(kDeviceCom);
  CP04 link{serial, clock};
};
