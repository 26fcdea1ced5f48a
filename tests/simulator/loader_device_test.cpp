// The simulated loader on its own: answers byte by byte, memories, faults.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "simulator/loader_device.h"

namespace {

using sim::LoaderDevice;

// Feeds text to the device and returns everything it answered.
std::string Exchange(LoaderDevice& device, const std::string& to_device) {
  std::string answer;
  for (const char c : to_device) {
    for (const std::uint8_t b : device.Receive(static_cast<std::uint8_t>(c))) {
      answer += static_cast<char>(b);
    }
  }
  return answer;
}

LoaderDevice AwakeDevice(sim::DeviceConfig config = {}) {
  LoaderDevice device(std::move(config));
  Exchange(device, "\x80");
  return device;
}

TEST(LoaderDeviceTest, AnswersEachCommandAsTheProtocolSays) {
  const struct {
    const char* what;
    std::string setup;  // sent first, answer ignored
    std::string to_device;
    std::string from_device;
  } cases[] = {
      {"wake-up", "", "\x80", "\x81"},
      {"unlock", "", "\x83", "\x84"},
      {"identity, one character per acknowledgement", "", "\x86\x84\x84\x84\x84\x84\x84", "503034"},
      {"variant", "", "\x87\x84\x84", "01"},
      {"data byte 127", "",
       "\x89"
       "7F\x84\x84",
       "04"},
      {"data write", "",
       "\x8B"
       "10AA",
       "\x84"},
      {"program word before start", "",
       "\x8D"
       "6DD26DD2",
       "\x15"},
      {"start before unlock", "", "\x90", "\x15"},
      {"start after unlock", "\x83", "\x90", "\x84"},
      {"program word", "\x83\x90",
       "\x8D"
       "6CF1522D",
       "\x84"},
      {"program word beyond the memory", "\x83\x90",
       "\x8D"
       "4DD26DD2",
       "\x15"},
      {"end programming answers nothing", "\x83\x90", "\x91", ""},
      {"baud rate", "",
       "\x9E"
       "0A",
       "\x84\x84"},
      {"unknown divisor", "",
       "\x9E"
       "11",
       "\x15"},
      {"not a hexadecimal digit", "",
       "\x89"
       "g",
       "\x15"},
      {"leave", "", "\x04", "\x84"},
      {"not a command", "", "\x42", ""},
  };
  for (const auto& c : cases) {
    LoaderDevice device = AwakeDevice();
    Exchange(device, c.setup);
    EXPECT_EQ(Exchange(device, c.to_device), c.from_device) << c.what;
  }
}

TEST(LoaderDeviceTest, StoresWhatItIsSentUnmasked) {
  LoaderDevice device = AwakeDevice();
  Exchange(device,
           "\x83\x90\x8D"
           "6CF1522D\x8B"
           "10AA");
  EXPECT_EQ(device.program()[0x123], 0x3FFF);
  EXPECT_EQ(device.program()[0x124], sim::kErasedWord);
  EXPECT_EQ(device.data()[0x10], 0xAA);
  EXPECT_EQ(device.ProgramWordsReceived(), 1u);
}

TEST(LoaderDeviceTest, AsleepItHearsOnlyTheWakeUpAndLeavingPutsItBackToSleep) {
  LoaderDevice device;
  EXPECT_EQ(Exchange(device, "\x83\x86\x04"), "");
  EXPECT_EQ(Exchange(device, "\x80\x83\x04"), "\x81\x84\x84");
  EXPECT_FALSE(device.Awake());
  EXPECT_FALSE(device.Unlocked());
  EXPECT_EQ(Exchange(device, "\x83"), "");
}

TEST(LoaderDeviceTest, SwitchesItsRateAfterAnsweringAtTheOldOne) {
  LoaderDevice device = AwakeDevice();
  EXPECT_EQ(Exchange(device,
                     "\x9E"
                     "0"),
            "");
  EXPECT_EQ(device.BaudRate(), 9600u);
  EXPECT_EQ(Exchange(device, "A"), "\x84\x84");
  EXPECT_EQ(device.BaudRate(), 115200u);
  Exchange(device,
           "\x9E"
           "81");
  EXPECT_EQ(device.BaudRate(), 9600u);
}

TEST(LoaderDeviceTest, KeepsSerialNumberAndVersionInItsDataMemory) {
  LoaderDevice device({.serial_number = 0x17D78400, .version_major = 2, .version_minor = 9});
  const std::vector<std::uint8_t> identity(device.data().begin() + 120,
                                           device.data().begin() + 128);
  EXPECT_EQ(identity, (std::vector<std::uint8_t>{0x00, 0x84, 0xD7, 0x17, 0xFF, 0xFF, 2, 9}));
}

TEST(LoaderDeviceTest, InjectedFaultsFire) {
  LoaderDevice give_up;
  give_up.faults().give_up_on_wake_up = true;
  EXPECT_EQ(Exchange(give_up, "\x80"), "\x85");

  LoaderDevice garbage;
  garbage.faults().garbage = true;
  EXPECT_EQ(Exchange(garbage, "\x80"), "\xF0");

  LoaderDevice silent;
  silent.faults().silent = true;
  EXPECT_EQ(Exchange(silent, "\x80"), "");
  EXPECT_EQ(silent.BytesReceived(), 1u);

  LoaderDevice dies = AwakeDevice();
  dies.faults().silent_after_bytes = 2;
  EXPECT_EQ(Exchange(dies, "\x83\x83"), "\x84");

  LoaderDevice refuses = AwakeDevice();
  refuses.faults().refused_command = sim::kUnlock;
  EXPECT_EQ(Exchange(refuses, "\x83"), "\x15");
  EXPECT_FALSE(refuses.Unlocked());

  LoaderDevice third_word = AwakeDevice();
  third_word.faults().refused_program_word = 3;
  EXPECT_EQ(Exchange(third_word,
                     "\x83\x90\x8D"
                     "6DA26DD2\x8D"
                     "6DA36DD2\x8D"
                     "6DA06DD2\x8D"
                     "6DA16DD2"),
            "\x84\x84\x84\x84\x15\x84");
  EXPECT_EQ(third_word.program()[0x72], sim::kErasedWord);
  EXPECT_EQ(third_word.program()[0x73], 0);

  // The second unlock never arrives; the third is answered.
  LoaderDevice loses_one_in = AwakeDevice();
  loses_one_in.faults().lost_byte = 3;
  EXPECT_EQ(Exchange(loses_one_in, "\x83\x83\x83"), "\x84\x84");

  // The first character of the variant is lost; the loader still waits for its 132.
  LoaderDevice loses_one_out = AwakeDevice();
  loses_one_out.faults().lost_reply_byte = 2;
  EXPECT_EQ(Exchange(loses_one_out, "\x87"), "");
  EXPECT_EQ(Exchange(loses_one_out, "\x84\x84"), "1");
}

TEST(LoaderDeviceTest, LogsAndDumpsWhatHappened) {
  LoaderDevice device = AwakeDevice();
  std::ostringstream log;
  device.PrintLog(log);
  EXPECT_EQ(log.str(), "-> 80\n<- 81\n");

  std::ostringstream dump;
  device.DumpMemories(dump);
  const std::string text = dump.str();
  EXPECT_NE(text.find("\n0000: FFFF FFFF"), std::string::npos);
  EXPECT_NE(text.find("\n1FF8: FFFF"), std::string::npos);
  EXPECT_NE(text.find("\n70: FF FF FF FF FF FF FF FF 4E E5 93 18 FF FF 03 04\n"),
            std::string::npos);
}

}  // namespace
