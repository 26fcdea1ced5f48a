// The loader command protocol of CP04, built on the one-byte transfers.

#include <cstring>

#include "link/Com_p04.h"

namespace {

// Command bytes of the loader.
constexpr std::uint8_t kCmdWakeUp = 128;
constexpr std::uint8_t kCmdUnlock = 131;
constexpr std::uint8_t kCmdReadIdentity = 134;
constexpr std::uint8_t kCmdReadVariant = 135;
constexpr std::uint8_t kCmdReadDataByte = 137;
constexpr std::uint8_t kCmdWriteDataByte = 139;
constexpr std::uint8_t kCmdWriteProgramWord = 141;
constexpr std::uint8_t kCmdStartProgramming = 144;
constexpr std::uint8_t kCmdEndProgramming = 145;
constexpr std::uint8_t kCmdSetBaudRate = 158;
constexpr std::uint8_t kCmdLeave = 4;

// Status bytes of the loader.
constexpr std::int32_t kReady = 129;
constexpr std::int32_t kAck = 132;
constexpr std::int32_t kGiveUp = 133;  // wake-up answer on which the link lets the port go

constexpr char kExpectedIdentity[] = "P04";
constexpr std::uint32_t kFirstProgramWord = 48;
constexpr std::uint32_t kProgramWordLimit = 7104;
constexpr std::uint32_t kHighMask = 0x6D;  // applied to high bytes of a program word exchange
constexpr std::uint32_t kLowMask = 0xD2;   // applied to low bytes
constexpr std::int32_t kSerialNumberAddress = 120;
constexpr std::int32_t kVersionMajorAddress = 126;
constexpr std::int32_t kVersionMinorAddress = 127;
constexpr std::uint32_t kDataWritePauseMs = 10;  // the loader writes its EEPROM before answering
constexpr std::uint32_t kLeavePauseMs = 200;

struct BaudDivisor {
  std::int32_t rate;
  std::uint32_t code;
};
constexpr BaudDivisor kBaudDivisors[] = {{4800, 255},  {14400, 86}, {19200, 64},
                                         {38400, 32},  {56000, 21}, {57600, 20},
                                         {115200, 10}, {128000, 9}, {256000, 4}};
constexpr BaudDivisor kDefaultDivisor = {9600, 129};

std::uint8_t HexDigitChar(std::uint32_t digit) {
  return static_cast<std::uint8_t>(digit < 10 ? digit + 48 : digit + 55);
}

}  // namespace

std::int32_t CP04::Connect(std::int32_t seconds) {
  if (!IsOpen()) {
    if (const std::int32_t code = Open(); code != kLinkOk) return code;
  }
  // Taken before the purge, so that Connect(1) makes exactly one attempt.
  const std::uint32_t start = clock_.GetTickCount();
  const std::uint32_t budget = static_cast<std::uint32_t>(seconds) * 1000u;
  Purge();
  std::int32_t code = kLinkOk;
  std::int32_t last_reply = -1;
  bool timed_out = false;
  for (;;) {
    code = WriteByte(kCmdWakeUp);
    if (code != kLinkOk) break;
    std::int32_t reply = 0;
    const std::int32_t read = ReadByte(reply);
    if (read == kLinkOk) last_reply = reply;
    if ((read == kLinkOk && reply == kGiveUp) || (read != kLinkOk && read != kLinkNoReply)) {
      Purge();
      Disconnect();
      Close();
    }
    code = kLinkOk;
    timed_out = clock_.GetTickCount() - start >= budget;
    if (timed_out || last_reply == kReady) break;
  }
  if (last_reply == kReady) {
    Connected = 1;
    return Finish(kLinkOk);
  }
  Connected = 0;
  return Finish(code == kLinkOk && timed_out ? kLinkNoReply : code);
}

std::int32_t CP04::Disconnect() {
  if (!IsOpen()) return Finish(kLinkPortNotOpen);
  if (Connected == 0) return Close();
  SetLoaderBaudRate(kDefaultDivisor.rate);
  clock_.Sleep(kLeavePauseMs);
  if (const std::int32_t code = WriteByte(kCmdLeave); code != kLinkOk) return code;
  std::int32_t farewell = 0;
  if (const std::int32_t code = ReadByte(farewell); code != kLinkOk) return code;
  Connected = 0;
  LoaderState = kLoaderIdle;
  return Close();
}

std::int32_t CP04::SetLoaderBaudRate(std::int32_t rate) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  BaudDivisor divisor = kDefaultDivisor;
  for (const BaudDivisor& candidate : kBaudDivisors) {
    if (candidate.rate == rate) divisor = candidate;
  }
  if (const std::int32_t code = WriteByte(kCmdSetBaudRate); code != kLinkOk) return code;
  if (const std::int32_t code = SendHexByte(divisor.code); code != kLinkOk) return code;
  std::int32_t reply = 0;
  if (const std::int32_t code = ReadByte(reply); code != kLinkOk) return code;
  if (reply != kAck) return Finish(kLinkRefused);
  std::int32_t last_at_old_rate = 0;
  ReadByte(last_at_old_rate);  // the loader's last byte at the old rate
  Settings.BaudRate = static_cast<std::uint32_t>(divisor.rate);
  serial_.SetCommState(Handle, Settings);
  return Finish(kLinkOk);
}

std::int32_t CP04::Unlock() {
  if (Connected == 0) return Finish(kLinkNotConnected);
  if (const std::int32_t code = WriteByte(kCmdUnlock); code != kLinkOk) return code;
  std::int32_t reply = 0;
  if (const std::int32_t code = ReadByte(reply); code != kLinkOk) return code;
  if (reply != kAck) return Finish(kLinkRefused);
  LoaderState = kLoaderUnlocked;
  return Finish(kLinkOk);
}

std::int32_t CP04::ReadIdentity(char (&text)[4]) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  std::int32_t code = WriteByte(kCmdReadIdentity);
  for (std::size_t i = 0; i < 3 && code == kLinkOk; ++i) {
    std::int32_t value = 0;
    code = ReceiveHexByte(value, true);
    if (code == kLinkOk) text[i] = static_cast<char>(value & 0xFF);
  }
  text[3] = '\0';
  return Finish(code);
}

std::int32_t CP04::CheckIdentity() {
  char identity[4] = {};
  if (const std::int32_t code = ReadIdentity(identity); code != kLinkOk) return code;
  return Finish(std::strcmp(identity, kExpectedIdentity) == 0 ? kLinkOk : kLinkWrongIdentity);
}

std::int32_t CP04::ReadVariant(std::int32_t& variant) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  if (const std::int32_t code = WriteByte(kCmdReadVariant); code != kLinkOk) return code;
  return ReceiveHexByte(variant, true);
}

std::int32_t CP04::ReadDataByte(std::int32_t address, std::int32_t& value) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  if (const std::int32_t code = WriteByte(kCmdReadDataByte); code != kLinkOk) return code;
  if (const std::int32_t code = SendHexByte(static_cast<std::uint32_t>(address)); code != kLinkOk)
    return code;
  return ReceiveHexByte(value, true);
}

std::int32_t CP04::WriteDataByte(std::int32_t address, std::int32_t value) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  if (const std::int32_t code = WriteByte(kCmdWriteDataByte); code != kLinkOk) return code;
  if (const std::int32_t code = SendHexByte(static_cast<std::uint32_t>(address)); code != kLinkOk)
    return code;
  if (const std::int32_t code = SendHexByte(static_cast<std::uint32_t>(value)); code != kLinkOk)
    return code;
  Wait(kDataWritePauseMs);
  std::int32_t reply = 0;
  if (const std::int32_t code = ReadByte(reply); code != kLinkOk) return code;
  return Finish(reply == kAck ? kLinkOk : kLinkRefused);
}

std::int32_t CP04::ReadDataWord(std::int32_t address, std::int32_t& value) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  std::int32_t low = 0;
  if (const std::int32_t code = ReadDataByte(address, low); code != kLinkOk) return code;
  value = low;
  std::int32_t high = 0;
  if (const std::int32_t code = ReadDataByte(address + 1, high); code != kLinkOk) return code;
  value = low + high * 256;
  return Finish(kLinkOk);
}

std::int32_t CP04::ReadSerialNumber(std::uint32_t& serial) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  std::int32_t low = 0;
  if (const std::int32_t code = ReadDataWord(kSerialNumberAddress, low); code != kLinkOk)
    return code;
  serial = static_cast<std::uint32_t>(low);
  std::int32_t high = 0;
  if (const std::int32_t code = ReadDataWord(kSerialNumberAddress + 2, high); code != kLinkOk)
    return code;
  serial += static_cast<std::uint32_t>(high) * 65536u;
  return Finish(kLinkOk);
}

std::int32_t CP04::ReadVersion(unsigned& major, unsigned& minor) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  std::int32_t value = 0;
  if (const std::int32_t code = ReadDataByte(kVersionMajorAddress, value); code != kLinkOk)
    return code;
  major = static_cast<unsigned>(value);
  if (const std::int32_t code = ReadDataByte(kVersionMinorAddress, value); code != kLinkOk)
    return code;
  minor = static_cast<unsigned>(value);
  return Finish(kLinkOk);
}

std::int32_t CP04::WriteVersion(std::int32_t major, std::int32_t minor) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  // The minor first: a write cut short between the two leaves the old major
  // with the new minor, never a new major over an old minor (2.6 becoming
  // 3.6, a version newer than the one installed, which later updates refuse).
  if (const std::int32_t code = WriteDataByte(kVersionMinorAddress, minor); code != kLinkOk)
    return code;
  return WriteDataByte(kVersionMajorAddress, major);
}

std::int32_t CP04::StartProgramming() {
  if (Connected == 0) return Finish(kLinkNotConnected);
  if (LoaderState != kLoaderUnlocked) return Finish(kLinkNotUnlocked);
  if (const std::int32_t code = WriteByte(kCmdStartProgramming); code != kLinkOk) return code;
  std::int32_t reply = 0;
  if (const std::int32_t code = ReadByte(reply); code != kLinkOk) return code;
  if (reply != kAck) return Finish(kLinkRefused);
  LoaderState = kLoaderProgramming;
  return Finish(kLinkOk);
}

std::int32_t CP04::EndProgramming() {
  if (Connected == 0) return Finish(kLinkNotConnected);
  if (LoaderState != kLoaderProgramming) return Finish(kLinkNotProgramming);
  return WriteByte(kCmdEndProgramming);
}

std::int32_t CP04::WriteProgramWord(std::uint32_t address, std::uint32_t data) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  if (LoaderState != kLoaderProgramming) return Finish(kLinkNotProgramming);
  if (address < kFirstProgramWord || address >= kProgramWordLimit)
    return Finish(kLinkAddressOutOfRange);
  // At most RetryLimit repeats, so a loader that keeps refusing cannot hold the link forever.
  std::int32_t code = ProgramWordExchange(address, data);
  for (std::uint32_t repeat = 0; code != kLinkOk && repeat < RetryLimit; ++repeat) {
    code = ProgramWordExchange(address, data);
  }
  return code;
}

std::int32_t CP04::ProgramWordExchange(std::uint32_t address, std::uint32_t data) {
  const std::uint32_t masked[] = {
      ((address / 256) ^ kHighMask) & 0xFF, ((address % 256) ^ kLowMask) & 0xFF,
      ((data / 256) ^ kHighMask) & 0xFF, ((data % 256) ^ kLowMask) & 0xFF};
  if (const std::int32_t code = WriteByte(kCmdWriteProgramWord); code != kLinkOk) return code;
  for (const std::uint32_t value : masked) {
    if (const std::int32_t code = SendHexByte(value); code != kLinkOk) return code;
  }
  std::int32_t reply = 0;
  if (const std::int32_t code = ReadByte(reply); code != kLinkOk) return code;
  if (reply == kAck) return Finish(kLinkOk);
  Purge();  // drops whatever else the refusing loader sends
  return Finish(kLinkRefused);
}

std::int32_t CP04::SendHexByte(std::uint32_t value) {
  // The low byte only: a larger value (a data byte decoded from a malformed
  // image row) would give characters past "F", 141 among them, and the loader
  // would take them for commands.
  value &= 0xFF;
  if (const std::int32_t code = WriteByte(HexDigitChar(value / 16)); code != kLinkOk) return code;
  return WriteByte(HexDigitChar(value % 16));
}

std::int32_t CP04::ReceiveHexByte(std::int32_t& value, bool acknowledge) {
  if (Connected == 0) return Finish(kLinkNotConnected);
  std::int32_t digits[2] = {};
  for (std::int32_t& digit : digits) {
    if (const std::int32_t code = ReadByte(digit); code != kLinkOk) return code;
    if (acknowledge) {
      if (const std::int32_t code = WriteByte(static_cast<std::uint8_t>(kAck)); code != kLinkOk)
        return code;
    }
  }
  value =
      HexPairValue(static_cast<std::uint32_t>(digits[0]), static_cast<std::uint32_t>(digits[1]));
  return Finish(kLinkOk);
}

std::int32_t CP04::HexPairValue(std::uint32_t high, std::uint32_t low) {
  const auto count = [](std::uint32_t c) { return c <= 57 ? c - 48 : c - 55; };
  return static_cast<std::int32_t>(count(high) * 16 + count(low));
}
