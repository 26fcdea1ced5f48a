// The loader command protocol: the bytes of every exchange, the result codes,
// the states, and the loader's faults.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/link/link_fixture.h"

namespace {

using Operation = std::pair<const char*, std::function<std::int32_t(CP04&)>>;

TEST_F(LinkTest, ConnectWakesTheLoaderAfterASecondOfPurge) {
  const std::uint32_t start = clock.Now();
  EXPECT_EQ(link.Connect(1), kLinkOk);
  EXPECT_GE(Elapsed(start), 1000u);
  EXPECT_EQ(link.GetConnected(), 1u);
  EXPECT_TRUE(device->Awake());
  EXPECT_EQ(ToDevice(), "\x80");
  EXPECT_EQ(FromDevice(), "\x81");
}

TEST_F(LinkTest, ConnectWithoutTheReadyByte) {
  const struct {
    const char* what;
    std::function<void(sim::Faults&)> fault;
    std::int32_t seconds;
    std::int32_t result;
    bool port_open;
    std::size_t wake_ups;  // 0: more than one
  } cases[] = {
      {"silent", [](sim::Faults& f) { f.silent = true; }, 1, kLinkNoReply, true, 1},
      {"133, time up", [](sim::Faults& f) { f.give_up_on_wake_up = true; }, 1, kLinkNoReply, false,
       1},
      {"133, time left", [](sim::Faults& f) { f.give_up_on_wake_up = true; }, 3, kLinkPortNotOpen,
       false, 1},
      {"other byte", [](sim::Faults& f) { f.garbage = true; }, 2, kLinkNoReply, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UseDevice({});
    c.fault(device->faults());
    link.Close();
    EXPECT_EQ(link.Connect(c.seconds), c.result);
    EXPECT_EQ(link.GetConnected(), 0u);
    EXPECT_EQ(link.IsOpen(), c.port_open);
    const std::size_t wake_ups = ToDevice().size();
    if (c.wake_ups == 0) {
      EXPECT_GT(wake_ups, 1u);
    } else {
      EXPECT_EQ(wake_ups, c.wake_ups);
    }
  }
}

TEST_F(LinkTest, ConnectAgainstASilentDeviceTakesPurgePlusOneRead) {
  device->faults().silent = true;
  const std::uint32_t start = clock.Now();
  EXPECT_EQ(link.Connect(1), kLinkNoReply);
  EXPECT_GE(Elapsed(start), 2100u);
  EXPECT_LE(Elapsed(start), 2110u);
}

TEST_F(LinkTest, ConnectReportsAnOpenFailure) {
  link.SetPort(12);
  EXPECT_EQ(link.Connect(1), static_cast<std::int32_t>(platform::kErrorFileNotFound));
}

TEST_F(LinkTest, OperationsNeedingTheLoaderRefuseBeforeConnect) {
  const std::vector<Operation> operations = {
      {"Unlock", [](CP04& l) { return l.Unlock(); }},
      {"CheckIdentity", [](CP04& l) { return l.CheckIdentity(); }},
      {"ReadVariant",
       [](CP04& l) {
         std::int32_t v = 0;
         return l.ReadVariant(v);
       }},
      {"ReadSerialNumber",
       [](CP04& l) {
         std::uint32_t s = 0;
         return l.ReadSerialNumber(s);
       }},
      {"ReadVersion",
       [](CP04& l) {
         unsigned a = 0, b = 0;
         return l.ReadVersion(a, b);
       }},
      {"WriteVersion", [](CP04& l) { return l.WriteVersion(3, 5); }},
      {"ReadDataByte",
       [](CP04& l) {
         std::int32_t v = 0;
         return l.ReadDataByte(1, v);
       }},
      {"WriteDataByte", [](CP04& l) { return l.WriteDataByte(1, 2); }},
      {"StartProgramming", [](CP04& l) { return l.StartProgramming(); }},
      {"EndProgramming", [](CP04& l) { return l.EndProgramming(); }},
      {"WriteProgramWord", [](CP04& l) { return l.WriteProgramWord(100, 1); }},
      {"SetLoaderBaudRate", [](CP04& l) { return l.SetLoaderBaudRate(9600); }},
      {"ReceiveHexByte",
       [](CP04& l) {
         std::int32_t v = 0;
         return l.ReceiveHexByte(v, true);
       }},
  };
  ASSERT_EQ(link.Open(), kLinkOk);
  for (const auto& [name, operation] : operations) {
    EXPECT_EQ(operation(link), kLinkNotConnected) << name;
  }
  EXPECT_EQ(ToDevice(), "");
}

TEST_F(LinkTest, EachExchangeSendsAndReceivesExactlyItsBytes) {
  const struct {
    const char* what;
    std::function<std::int32_t(CP04&)> operation;
    std::string to_device;
    std::string from_device;
  } cases[] = {
      {"Unlock", [](CP04& l) { return l.Unlock(); }, "\x83", "\x84"},
      {"CheckIdentity", [](CP04& l) { return l.CheckIdentity(); }, "\x86\x84\x84\x84\x84\x84\x84",
       "503034"},
      {"ReadVariant",
       [](CP04& l) {
         std::int32_t v = 0;
         return l.ReadVariant(v);
       },
       "\x87\x84\x84", "01"},
      {"ReadDataByte 126",
       [](CP04& l) {
         std::int32_t v = 0;
         return l.ReadDataByte(126, v);
       },
       "\x89"
       "7E\x84\x84",
       "03"},
      {"WriteDataByte 200", [](CP04& l) { return l.WriteDataByte(200, 0xAB); },
       "\x8B"
       "C8AB",
       "\x84"},
      {"SetLoaderBaudRate 9600", [](CP04& l) { return l.SetLoaderBaudRate(9600); },
       "\x9E"
       "81",
       "\x84\x84"},
      {"SendHexByte 0", [](CP04& l) { return l.SendHexByte(0); }, "00", ""},
      {"SendHexByte 10", [](CP04& l) { return l.SendHexByte(10); }, "0A", ""},
      {"SendHexByte 255", [](CP04& l) { return l.SendHexByte(255); }, "FF", ""},
      // Never more than two hexadecimal digits: 0x58D would put 141 on the line.
      {"SendHexByte 0x58D", [](CP04& l) { return l.SendHexByte(0x58D); }, "8D", ""},
      {"WriteDataByte of a value past a byte", [](CP04& l) { return l.WriteDataByte(16, 0x1A5); },
       "\x8B"
       "10A5",
       "\x84"},
  };
  Connect();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    device->ClearLog();
    EXPECT_EQ(c.operation(link), kLinkOk);
    EXPECT_EQ(ToDevice(), c.to_device);
    EXPECT_EQ(FromDevice(), c.from_device);
  }
}

TEST_F(LinkTest, ReadsReturnTheDeviceValues) {
  UseDevice({.identity = "P04",
             .variant = 4,
             .serial_number = 4000000001u,
             .version_major = 2,
             .version_minor = 9});
  Connect();
  std::int32_t variant = 0;
  EXPECT_EQ(link.ReadVariant(variant), kLinkOk);
  EXPECT_EQ(variant, 4);
  std::uint32_t serial_number = 0;
  device->ClearLog();
  EXPECT_EQ(link.ReadSerialNumber(serial_number), kLinkOk);
  EXPECT_EQ(serial_number, 4000000001u);
  EXPECT_EQ(ToDevice().substr(0, 5),
            "\x89"
            "78\x84\x84");
  unsigned major = 0, minor = 0;
  EXPECT_EQ(link.ReadVersion(major, minor), kLinkOk);
  EXPECT_EQ(major, 2u);
  EXPECT_EQ(minor, 9u);
}

TEST_F(LinkTest, SerialNumberIsLittleEndianInBytes120To123) {
  const std::uint8_t bytes[] = {0x00, 0x84, 0xD7, 0x17};
  for (std::size_t i = 0; i < 4; ++i) device->SetDataByte(120 + i, bytes[i]);
  Connect();
  std::uint32_t serial_number = 0;
  EXPECT_EQ(link.ReadSerialNumber(serial_number), kLinkOk);
  EXPECT_EQ(serial_number, 400000000u);
}

TEST_F(LinkTest, IdentityMustBeExactlyP04) {
  for (const char* identity : {"p04", "P05", "P0 "}) {
    UseDevice({.identity = identity});
    link.Close();
    Connect();
    EXPECT_EQ(link.CheckIdentity(), kLinkWrongIdentity) << identity;
  }
}

TEST_F(LinkTest, WritesLandInTheDeviceMemories) {
  ConnectForProgramming();
  EXPECT_EQ(link.WriteProgramWord(0x0123, 0x3FFF), kLinkOk);
  // Each byte goes out XORed with its mask: 0x01^0x6D, 0x23^0xD2, 0x3F^0x6D, 0xFF^0xD2.
  EXPECT_EQ(ToDevice(),
            "\x8D"
            "6CF1522D");
  EXPECT_EQ(FromDevice(), "\x84");
  EXPECT_EQ(device->program()[0x123], 0x3FFF);

  EXPECT_EQ(link.WriteVersion(3, 5), kLinkOk);
  EXPECT_EQ(device->data()[126], 3);
  EXPECT_EQ(device->data()[127], 5);
  EXPECT_EQ(link.GetLoaderState(), kLoaderProgramming);
}

TEST_F(LinkTest, AVersionStampCutShortNeverClaimsANewerVersion) {
  sim::DeviceConfig config;
  config.version_major = 2;
  config.version_minor = 6;
  UseDevice(config);
  ConnectForProgramming();
  device->faults().silent_after_bytes = device->BytesReceived() + 5;  // one data write
  EXPECT_EQ(link.WriteVersion(3, 5), kLinkNoReply);
  EXPECT_EQ(device->data()[126], 2);
  EXPECT_EQ(device->data()[127], 5);
}

TEST_F(LinkTest, WriteDataBytePausesBeforeReadingTheReply) {
  Connect();
  const std::uint32_t start = clock.Now();
  EXPECT_EQ(link.WriteDataByte(0, 1), kLinkOk);
  EXPECT_GE(Elapsed(start), 10u);
}

TEST_F(LinkTest, ProgrammingNeedsUnlockFirst) {
  Connect();
  EXPECT_EQ(link.StartProgramming(), kLinkNotUnlocked);
  EXPECT_EQ(ToDevice(), "");
  EXPECT_EQ(link.Unlock(), kLinkOk);
  EXPECT_EQ(link.GetLoaderState(), kLoaderUnlocked);
  EXPECT_EQ(link.StartProgramming(), kLinkOk);
  EXPECT_EQ(link.GetLoaderState(), kLoaderProgramming);
  EXPECT_TRUE(device->Programming());
}

TEST_F(LinkTest, ProgramWordAddressesOutsideTheRangeAreNotSent) {
  Connect();
  EXPECT_EQ(link.WriteProgramWord(100, 0), kLinkNotProgramming);
  EXPECT_EQ(link.EndProgramming(), kLinkNotProgramming);
  ConnectForProgramming();
  const struct {
    std::uint32_t address;
    std::int32_t result;
  } cases[] = {
      {47, kLinkAddressOutOfRange}, {7104, kLinkAddressOutOfRange}, {48, kLinkOk}, {7103, kLinkOk}};
  for (const auto& c : cases) {
    device->ClearLog();
    EXPECT_EQ(link.WriteProgramWord(c.address, 0x1234), c.result) << c.address;
    EXPECT_EQ(ToDevice().empty(), c.result != kLinkOk) << c.address;
  }
  EXPECT_EQ(device->program()[48], 0x1234);
  EXPECT_EQ(device->program()[7103], 0x1234);
}

TEST_F(LinkTest, EndProgrammingSendsOnlyItsCommandAndKeepsTheState) {
  ConnectForProgramming();
  EXPECT_EQ(link.EndProgramming(), kLinkOk);
  EXPECT_EQ(link.EndProgramming(), kLinkOk);
  EXPECT_EQ(ToDevice(), "\x91\x91");
  EXPECT_EQ(link.GetLoaderState(), kLoaderProgramming);
}

TEST_F(LinkTest, RefusalsGiveTheirCodeAndKeepTheState) {
  const struct {
    std::uint8_t command;
    std::function<std::int32_t(CP04&)> operation;
    std::int32_t state_after;
  } cases[] = {
      {sim::kUnlock, [](CP04& l) { return l.Unlock(); }, kLoaderIdle},
      {sim::kWriteDataByte, [](CP04& l) { return l.WriteDataByte(5, 5); }, kLoaderIdle},
      {sim::kSetBaudRate, [](CP04& l) { return l.SetLoaderBaudRate(115200); }, kLoaderIdle},
  };
  for (const auto& c : cases) {
    UseDevice({});
    device->faults().refused_command = c.command;
    link.Close();
    Connect();
    EXPECT_EQ(c.operation(link), kLinkRefused) << int{c.command};
    EXPECT_EQ(link.GetLoaderState(), c.state_after) << int{c.command};
    EXPECT_EQ(link.GetSettings().BaudRate, 9600u) << int{c.command};
  }
  UseDevice({});
  device->faults().refused_command = sim::kStartProgramming;
  link.Close();
  Connect();
  ASSERT_EQ(link.Unlock(), kLinkOk);
  EXPECT_EQ(link.StartProgramming(), kLinkRefused);
  EXPECT_EQ(link.GetLoaderState(), kLoaderUnlocked);
}

TEST_F(LinkTest, ARefusedProgramWordIsSentOnceAndPurged) {
  device->faults().refused_program_word = 2;
  ConnectForProgramming();
  EXPECT_EQ(link.WriteProgramWord(48, 1), kLinkOk);
  const std::uint32_t start = clock.Now();
  EXPECT_EQ(link.WriteProgramWord(49, 2), kLinkRefused);
  EXPECT_GE(Elapsed(start), 1000u);
  EXPECT_EQ(device->ProgramWordsReceived(), 2u);
  EXPECT_EQ(device->program()[49], sim::kErasedWord);
}

TEST_F(LinkTest, ALoaderFallingSilentMidExchangeGivesNoReply) {
  Connect();
  device->faults().silent_after_bytes = device->BytesReceived() + 1;  // answers 135, then dies
  std::int32_t variant = 99;
  EXPECT_EQ(link.ReadVariant(variant), kLinkNoReply);
  EXPECT_EQ(variant, 99);
}

TEST_F(LinkTest, DisconnectTakesTheLoaderBackTo9600AndLeaves) {
  Connect();
  ASSERT_EQ(link.SetLoaderBaudRate(115200), kLinkOk);
  EXPECT_EQ(serial.LineSettings(kDeviceCom).BaudRate, 115200u);
  EXPECT_EQ(device->BaudRate(), 115200u);
  std::int32_t variant = 0;
  EXPECT_EQ(link.ReadVariant(variant), kLinkOk);  // both ends moved together
  device->ClearLog();

  const std::uint32_t start = clock.Now();
  EXPECT_EQ(link.Disconnect(), kLinkOk);
  EXPECT_GE(Elapsed(start), 200u);
  EXPECT_EQ(ToDevice(),
            "\x9E"
            "81\x04");
  EXPECT_EQ(device->BaudRate(), 9600u);
  EXPECT_FALSE(device->Awake());
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.GetConnected(), 0u);
}

TEST_F(LinkTest, DisconnectWhenOpenButNotConnectedOnlyCloses) {
  ASSERT_EQ(link.Open(), kLinkOk);
  EXPECT_EQ(link.Disconnect(), kLinkOk);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(ToDevice(), "");
}

TEST_F(LinkTest, DisconnectFromADeadLoaderStaysConnectedAndCloseRetries) {
  ConnectForProgramming();
  device->faults().silent = true;
  EXPECT_EQ(link.Disconnect(), kLinkNoReply);
  EXPECT_EQ(link.GetConnected(), 1u);
  EXPECT_TRUE(link.IsOpen());
  device->ClearLog();

  EXPECT_EQ(link.Close(), kLinkOk);
  EXPECT_EQ(ToDevice(),
            "\x9E"
            "81\x04");  // the whole leave sequence again
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.GetConnected(), 0u);
  EXPECT_EQ(link.GetLoaderState(), kLoaderIdle);
  EXPECT_EQ(serial.LineSettings(kDeviceCom).Parity, platform::kNoParity);
}

TEST_F(LinkTest, DestroyingAConnectedLinkLeavesTheLoaderAndFreesThePort) {
  {
    CP04 other(serial, clock);
    other.SetPort(kDeviceCom);
    ASSERT_EQ(other.Connect(1), kLinkOk);
  }
  EXPECT_FALSE(serial.IsOpen(kDeviceCom));
  EXPECT_FALSE(device->Awake());
}

// An adapter pulled out refuses even its old settings back; the link must
// still let go of the port so that it connects again once plugged back.
TEST_F(LinkTest, AfterTheAdapterIsPulledOutAndBackTheLinkConnectsAgain) {
  ConnectForProgramming();
  // Pulled out as the last character of the exchange goes: the word is
  // written but its acknowledgement never comes back.
  serial.UnplugAfterBytes(kDeviceCom, device->BytesReceived() + 9);
  EXPECT_EQ(link.WriteProgramWord(48, 1), static_cast<std::int32_t>(platform::kErrorGenFailure));
  EXPECT_EQ(device->program()[48], 1);
  EXPECT_FALSE(serial.IsPlugged(kDeviceCom));

  EXPECT_EQ(link.Close(), static_cast<std::int32_t>(platform::kErrorGenFailure));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.Connect(1), static_cast<std::int32_t>(platform::kErrorFileNotFound));

  serial.PlugIn(kDeviceCom);
  EXPECT_EQ(link.Connect(1), kLinkOk);
}

TEST(HexPairValueTest, DecodesDigitsWithoutChecking) {
  const struct {
    char high, low;
    std::int32_t value;
  } cases[] = {{'0', '0', 0}, {'0', '9', 9}, {'A', 'F', 175}, {'F', 'F', 255}, {'a', 'f', 719}};
  for (const auto& c : cases) {
    EXPECT_EQ(
        CP04::HexPairValue(static_cast<std::uint8_t>(c.high), static_cast<std::uint8_t>(c.low)),
        c.value)
        << c.high << c.low;
  }
}

}  // namespace
