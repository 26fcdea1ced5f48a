// The link fed any replies: a serial port whose every read gives the next
// byte of the input (nothing once it is used up), and whose calls can be
// made to fail from a chosen call on, as a pulled adapter does. The link
// runs the update's whole dialogue with the loader. Each operation must
// return one result code of the link's table or the port's system error,
// stay within the state table, never put a program word outside 48..7103
// on the line, and never call a program word written that the loader did
// not acknowledge.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "link/Com_p04.h"
#include "platform/virtual_clock.h"

using kst_fuzz::Require;

namespace {

constexpr std::uint32_t kInjectedError = platform::kErrorGenFailure;
constexpr std::uint8_t kProgramWordCommand = 141;
constexpr std::uint8_t kAck = 132;
constexpr std::uint32_t kLongestOperationMs = 10000;

class ReplySerial final : public platform::SerialApi {
 public:
  ReplySerial(platform::VirtualClock& clock, std::vector<std::uint8_t> replies,
              std::size_t failing_from_call, bool open_fails)
      : clock_(clock),
        replies_(std::move(replies)),
        failing_from_call_(failing_from_call),
        open_fails_(open_fails) {}

  std::vector<std::uint8_t> sent;  // every byte the host put on the line
  std::int32_t last_reply = -1;    // the last byte a read delivered
  std::size_t open_handles = 0;

  platform::PortHandle CreateFileA(const char* /*device_name*/) override {
    if (Failing() || open_fails_ || open_handles > 0) {
      error_ = open_handles > 0 ? platform::kErrorAccessDenied : platform::kErrorFileNotFound;
      return platform::kInvalidHandle;
    }
    ++open_handles;
    return 7;
  }
  bool GetCommState(platform::PortHandle port, platform::Dcb& settings) override {
    if (!Usable(port)) return false;
    settings = platform::Dcb{};
    settings.BaudRate = 19200;
    return true;
  }
  bool SetCommState(platform::PortHandle port, const platform::Dcb& /*settings*/) override {
    return Usable(port);
  }
  bool GetCommTimeouts(platform::PortHandle port, platform::CommTimeouts& timeouts) override {
    if (!Usable(port)) return false;
    timeouts = platform::CommTimeouts{};
    return true;
  }
  bool SetCommTimeouts(platform::PortHandle port,
                       const platform::CommTimeouts& /*timeouts*/) override {
    return Usable(port);
  }
  bool PurgeComm(platform::PortHandle port, std::uint32_t /*flags*/) override {
    return Usable(port);
  }
  bool ReadFile(platform::PortHandle port, std::uint8_t* buffer, std::uint32_t size,
                std::uint32_t& transferred) override {
    transferred = 0;
    if (!Usable(port)) return false;
    Require(size == 1, "the link reads one byte at a time");
    if (next_reply_ == replies_.size()) {
      clock_.Advance(1100);  // the read time-outs run out
      return true;
    }
    buffer[0] = replies_[next_reply_++];
    last_reply = buffer[0];
    transferred = 1;
    return true;
  }
  bool WriteFile(platform::PortHandle port, const std::uint8_t* data, std::uint32_t size,
                 std::uint32_t& transferred) override {
    transferred = 0;
    if (!Usable(port)) return false;
    sent.insert(sent.end(), data, data + size);
    transferred = size;
    return true;
  }
  bool CloseHandle(platform::PortHandle port) override {
    ++calls_;
    if (port != 7 || open_handles == 0) {
      error_ = platform::kErrorInvalidHandle;
      return false;
    }
    --open_handles;  // a handle is released even on a pulled adapter
    return true;
  }
  std::uint32_t GetLastError() override { return error_; }

 private:
  bool Failing() { return ++calls_ >= failing_from_call_; }
  bool Usable(platform::PortHandle port) {
    Require(port == 7 && open_handles == 1, "a call on the open handle only");
    if (Failing()) {
      error_ = kInjectedError;
      return false;
    }
    return true;
  }

  platform::VirtualClock& clock_;
  std::vector<std::uint8_t> replies_;
  std::size_t next_reply_ = 0;
  std::size_t failing_from_call_;
  bool open_fails_;
  std::size_t calls_ = 0;
  std::uint32_t error_ = 0;
};

bool InLinkTable(std::int32_t code) {
  switch (code) {
    case kLinkOk:
    case kLinkNotConnected:
    case kLinkNoReply:
    case kLinkRefused:
    case kLinkNotUnlocked:
    case kLinkAddressOutOfRange:
    case kLinkNotProgramming:
    case kLinkPortNotOpen:
    case kLinkWrongIdentity:
      return true;
    default:
      return false;
  }
}

bool SystemCode(std::int32_t code) {
  return code == static_cast<std::int32_t>(kInjectedError) ||
         code == static_cast<std::int32_t>(platform::kErrorFileNotFound);
}

void CheckState(const CP04& link, const ReplySerial& serial) {
  Require(link.IsOpen() == (serial.open_handles == 1), "the link knows whether it holds the port");
  Require(link.GetConnected() == 0 || link.GetConnected() == 1, "Connected is 0 or 1");
  const std::int32_t state = link.GetLoaderState();
  Require(state == kLoaderIdle || state == kLoaderUnlocked || state == kLoaderProgramming,
          "LoaderState is 0, 2 or 3");
  if (!link.IsOpen())
    Require(link.GetConnected() == 0 && state == kLoaderIdle,
            "a closed link is neither connected nor unlocked");
}

std::int32_t DigitValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Every program word the host sent: the address is its first two pairs, unmasked.
void CheckProgramWordAddresses(const std::vector<std::uint8_t>& sent) {
  for (std::size_t at = 0; at < sent.size(); ++at) {
    if (sent[at] != kProgramWordCommand || at + 4 >= sent.size()) continue;
    std::int32_t pairs[2] = {};
    for (std::size_t p = 0; p < 2; ++p) {
      const std::int32_t high = DigitValue(sent[at + 1 + 2 * p]);
      const std::int32_t low = DigitValue(sent[at + 2 + 2 * p]);
      Require(high >= 0 && low >= 0, "program word address in hexadecimal");
      pairs[p] = high * 16 + low;
    }
    const std::int32_t address = (pairs[0] ^ 0x6D) * 256 + (pairs[1] ^ 0xD2);
    Require(address >= 48 && address < 7104, "program word address within 48..7103");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // Taken from the end of the input, so the replies at its front keep their places.
  const auto failing_from = input.ConsumeIntegral<std::uint16_t>();
  const bool open_fails = input.ConsumeIntegralInRange<int>(0, 31) == 0;
  std::uint32_t addresses[6];
  for (std::uint32_t& address : addresses) address = input.ConsumeIntegral<std::uint16_t>();
  const std::vector<std::uint8_t> replies = input.ConsumeRemainingBytes<std::uint8_t>();

  platform::VirtualClock clock(input.ConsumeBool() ? 0xFFFFF000u : 0u);
  // No failure when the number is 0: the calls of a whole run stay well below 65535.
  ReplySerial serial(clock, replies, failing_from == 0 ? SIZE_MAX : failing_from, open_fails);
  {
    CP04 link(serial, clock);
    link.SetPort(4);
    // Runs one operation: it must end within its time-outs (the longest,
    // a wake-up given up, takes a few seconds) and answer within the table.
    const auto check = [&](const auto& operation) {
      const std::uint32_t start = clock.Now();
      const std::int32_t code = operation();
      Require(clock.Now() - start <= kLongestOperationMs, "an operation ends within its time-outs");
      Require(code == link.LastResult(), "the code returned is the code kept");
      Require(InLinkTable(code) || SystemCode(code),
              "a code of the link's table or the port's error");
      CheckState(link, serial);
      return code;
    };

    // The update's dialogue, carried on whatever comes back, as a loader
    // that answers anything could lead it.
    for (int attempt = 0; attempt < 3 && check([&] { return link.Connect(1); }) != kLinkOk;
         ++attempt) {
    }
    check([&] { return link.CheckIdentity(); });
    std::int32_t variant = 0;
    check([&] { return link.ReadVariant(variant); });
    std::uint32_t serial_number = 0;
    check([&] { return link.ReadSerialNumber(serial_number); });
    unsigned major = 0;
    unsigned minor = 0;
    check([&] { return link.ReadVersion(major, minor); });
    check([&] { return link.Unlock(); });
    check([&] { return link.StartProgramming(); });
    for (std::size_t k = 0; k < 4; ++k) {
      const std::size_t before = serial.sent.size();
      const std::int32_t code = check([&] { return link.WriteProgramWord(addresses[k], 0x1234); });
      if (code == kLinkOk) {
        // Acknowledged: the whole exchange went out and its last answer was 132.
        Require(serial.sent.size() - before >= 9 && serial.sent[before] == kProgramWordCommand,
                "an acknowledged word went out whole");
        Require(serial.last_reply == kAck, "a word written was acknowledged");
      }
    }
    for (std::size_t k = 4; k < 6; ++k)
      check([&] { return link.WriteDataByte(addresses[k] % 256, 0x5A); });
    check([&] { return link.WriteVersion(3, 5); });
    check([&] { return link.EndProgramming(); });
    check([&] { return link.Disconnect(); });
    check([&] { return link.Close(); });
  }
  // Gone with the link, whatever state the port was left in.
  Require(serial.open_handles == 0, "no handle left open");
  CheckProgramWordAddresses(serial.sent);
  return 0;
}
