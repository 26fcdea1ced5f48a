#include "simulator/loader_device.h"

#include <cstdio>

namespace sim {

namespace {

constexpr std::uint8_t kProgramHighMask = 0x6D;  // the host XORs these into every word exchange
constexpr std::uint8_t kProgramLowMask = 0xD2;
constexpr std::uint8_t kJunk = 0xF0;
constexpr std::uint8_t kFarewell = kAck;  // any byte answers the leave command

std::optional<std::uint8_t> HexDigitValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

char HexDigit(unsigned value) {
  return "0123456789ABCDEF"[value & 0xF];
}

}  // namespace

std::optional<std::uint32_t> RateForDivisor(std::uint8_t divisor) {
  switch (divisor) {
    case 255:
      return 4800;
    case 129:
      return 9600;
    case 86:
      return 14400;
    case 64:
      return 19200;
    case 32:
      return 38400;
    case 21:
      return 56000;
    case 20:
      return 57600;
    case 10:
      return 115200;
    case 9:
      return 128000;
    case 4:
      return 256000;
    default:
      return std::nullopt;
  }
}

LoaderDevice::LoaderDevice(DeviceConfig config) : config_(std::move(config)) {
  program_.fill(kErasedWord);
  data_.fill(kErasedByte);
  for (std::size_t i = 0; i < 4; ++i) {
    data_[kSerialNumberAddress + i] = static_cast<std::uint8_t>(config_.serial_number >> (8 * i));
  }
  data_[kVersionMajorAddress] = config_.version_major;
  data_[kVersionMinorAddress] = config_.version_minor;
}

bool LoaderDevice::Dead() const {
  return faults_.silent ||
         (faults_.silent_after_bytes && bytes_received_ > *faults_.silent_after_bytes);
}

std::vector<std::uint8_t> LoaderDevice::Receive(std::uint8_t byte) {
  ++bytes_received_;
  log_.push_back({Direction::kToDevice, byte});
  if (Dead() || faults_.lost_byte == bytes_received_) return {};
  std::vector<std::uint8_t> answer = Handle(byte);
  std::vector<std::uint8_t> reaching_host;
  for (std::uint8_t sent : answer) {
    if (faults_.garbage) sent = kJunk;
    log_.push_back({Direction::kFromDevice, sent});
    if (faults_.lost_reply_byte != ++bytes_sent_) reaching_host.push_back(sent);
  }
  return reaching_host;
}

std::vector<std::uint8_t> LoaderDevice::Handle(std::uint8_t byte) {
  switch (state_) {
    case State::kAsleep:
      // Asleep, the loader listens for the wake-up alone.
      if (byte != kWakeUp) return {};
      if (faults_.give_up_on_wake_up) return {kGiveUp};
      state_ = State::kCommand;
      return {kReady};
    case State::kCommand:
      return Command(byte);
    case State::kParameters: {
      const auto digit = HexDigitValue(byte);
      if (!digit) {
        state_ = State::kCommand;
        return {kRefusal};
      }
      if (pending_digit_.empty()) {
        pending_digit_ = static_cast<char>(byte);
      } else {
        const auto high = *HexDigitValue(static_cast<std::uint8_t>(pending_digit_[0]));
        parameters_.push_back(static_cast<std::uint8_t>(high * 16 + *digit));
        pending_digit_.clear();
      }
      if (parameters_.size() * 2 < parameter_characters_) return {};
      state_ = State::kCommand;
      return Execute();
    }
    case State::kSendingHex:
      // Each character of a reply waits for its 132; anything else breaks
      // the reply off and counts as the next command.
      if (byte != kAck) {
        hex_out_.clear();
        state_ = State::kCommand;
        return Command(byte);
      }
      if (hex_out_.empty()) {
        state_ = State::kCommand;
        return {};
      }
      {
        const auto next = static_cast<std::uint8_t>(hex_out_.front());
        hex_out_.erase(0, 1);
        return {next};
      }
  }
  return {};
}

bool LoaderDevice::Refuses(std::uint8_t command) const {
  return faults_.refused_command && *faults_.refused_command == command;
}

std::vector<std::uint8_t> LoaderDevice::Command(std::uint8_t command) {
  switch (command) {
    case kWakeUp:
      return {faults_.give_up_on_wake_up ? kGiveUp : kReady};
    case kUnlock:
      if (!Refuses(command)) unlocked_ = true;
      return Acknowledge(!Refuses(command));
    case kReadIdentity: {
      if (Refuses(command)) return {kRefusal};
      std::vector<std::uint8_t> identity(config_.identity.begin(), config_.identity.end());
      identity.resize(3, ' ');
      return StartHexReply(identity);
    }
    case kReadVariant:
      if (Refuses(command)) return {kRefusal};
      return StartHexReply({config_.variant});
    case kReadDataByte:
      return ExpectParameters(command, 2);
    case kWriteDataByte:
      return ExpectParameters(command, 4);
    case kWriteProgramWord:
      return ExpectParameters(command, 8);
    case kStartProgramming: {
      const bool accepted = unlocked_ && !Refuses(command);
      if (accepted) programming_ = true;
      return Acknowledge(accepted);
    }
    case kEndProgramming:
      programming_ = false;
      return {};
    case kSetBaudRate:
      return ExpectParameters(command, 2);
    case kLeave:
      state_ = State::kAsleep;
      unlocked_ = false;
      programming_ = false;
      return {kFarewell};
    default:
      return {};  // not a command: ignored
  }
}

std::vector<std::uint8_t> LoaderDevice::ExpectParameters(std::uint8_t command,
                                                         std::size_t characters) {
  command_ = command;
  parameter_characters_ = characters;
  parameters_.clear();
  pending_digit_.clear();
  state_ = State::kParameters;
  return {};
}

std::vector<std::uint8_t> LoaderDevice::Execute() {
  const std::vector<std::uint8_t>& p = parameters_;
  switch (command_) {
    case kReadDataByte:
      if (Refuses(command_)) return {kRefusal};
      return StartHexReply({data_[p[0]]});
    case kWriteDataByte:
      if (Refuses(command_)) return {kRefusal};
      data_[p[0]] = p[1];
      return {kAck};
    case kWriteProgramWord: {
      ++program_words_received_;
      const std::size_t address = static_cast<std::size_t>(p[0] ^ kProgramHighMask) * 256 +
                                  static_cast<std::size_t>(p[1] ^ kProgramLowMask);
      const auto word =
          static_cast<std::uint16_t>((p[2] ^ kProgramHighMask) * 256 + (p[3] ^ kProgramLowMask));
      const bool refused_here =
          faults_.refused_program_word && *faults_.refused_program_word == program_words_received_;
      const bool accepted =
          programming_ && address < kProgramWords && !refused_here && !Refuses(command_);
      if (accepted) program_[address] = word;
      return Acknowledge(accepted);
    }
    case kSetBaudRate: {
      const auto rate = RateForDivisor(p[0]);
      if (!rate || Refuses(command_)) return {kRefusal};
      // 132 and one more byte still go at the old rate; the new one follows.
      baud_rate_ = *rate;
      return {kAck, kAck};
    }
    default:
      return {};
  }
}

std::vector<std::uint8_t> LoaderDevice::StartHexReply(std::vector<std::uint8_t> values) {
  hex_out_.clear();
  for (const std::uint8_t value : values) {
    hex_out_ += HexDigit(value >> 4u);
    hex_out_ += HexDigit(value);
  }
  const auto first = static_cast<std::uint8_t>(hex_out_.front());
  hex_out_.erase(0, 1);
  state_ = State::kSendingHex;
  return {first};
}

std::vector<std::uint8_t> LoaderDevice::Acknowledge(bool accepted) {
  return {accepted ? kAck : kRefusal};
}

std::vector<std::uint8_t> LoaderDevice::BytesInLog(Direction direction) const {
  std::vector<std::uint8_t> bytes;
  for (const LogEntry& entry : log_) {
    if (entry.direction == direction) bytes.push_back(entry.byte);
  }
  return bytes;
}

void LoaderDevice::PrintLog(std::ostream& out) const {
  char line[16];
  for (const LogEntry& entry : log_) {
    std::snprintf(line, sizeof line, "%s %02X\n",
                  entry.direction == Direction::kToDevice ? "->" : "<-", entry.byte);
    out << line;
  }
}

void LoaderDevice::DumpMemories(std::ostream& out) const {
  char cell[16];
  out << "program memory (words)";
  for (std::size_t address = 0; address < kProgramWords; ++address) {
    if (address % 8 == 0) {
      std::snprintf(cell, sizeof cell, "\n%04zX:", address);
      out << cell;
    }
    std::snprintf(cell, sizeof cell, " %04X", static_cast<unsigned>(program_[address]));
    out << cell;
  }
  out << "\ndata memory (bytes)";
  for (std::size_t address = 0; address < kDataBytes; ++address) {
    if (address % 16 == 0) {
      std::snprintf(cell, sizeof cell, "\n%02zX:", address);
      out << cell;
    }
    std::snprintf(cell, sizeof cell, " %02X", static_cast<unsigned>(data_[address]));
    out << cell;
  }
  out << '\n';
}

}  // namespace sim
