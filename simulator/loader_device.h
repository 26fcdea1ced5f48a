#pragma once
// A simulated device: the resident loader as its serial peer sees it. It
// answers the loader's one-byte commands with the status bytes and
// hexadecimal pairs the protocol prescribes, keeps the program and data
// memories the commands write, and can be told to misbehave.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

inline constexpr std::size_t kProgramWords = 8192;
inline constexpr std::size_t kDataBytes = 256;
inline constexpr std::uint16_t kErasedWord = 0xFFFF;
inline constexpr std::uint8_t kErasedByte = 0xFF;

// Status bytes and commands of the loader.
inline constexpr std::uint8_t kWakeUp = 128;
inline constexpr std::uint8_t kReady = 129;
inline constexpr std::uint8_t kAck = 132;
inline constexpr std::uint8_t kGiveUp = 133;
inline constexpr std::uint8_t kRefusal = 0x15;  // this loader's "no"; any byte but 132 would do
inline constexpr std::uint8_t kUnlock = 131;
inline constexpr std::uint8_t kReadIdentity = 134;
inline constexpr std::uint8_t kReadVariant = 135;
inline constexpr std::uint8_t kReadDataByte = 137;
inline constexpr std::uint8_t kWriteDataByte = 139;
inline constexpr std::uint8_t kWriteProgramWord = 141;
inline constexpr std::uint8_t kStartProgramming = 144;
inline constexpr std::uint8_t kEndProgramming = 145;
inline constexpr std::uint8_t kSetBaudRate = 158;
inline constexpr std::uint8_t kLeave = 4;

// Where the identity data lives in the data memory.
inline constexpr std::size_t kSerialNumberAddress = 120;  // 4 bytes, little-endian
inline constexpr std::size_t kVersionMajorAddress = 126;
inline constexpr std::size_t kVersionMinorAddress = 127;

struct DeviceConfig {
  std::string identity = "P04";  // three characters
  std::uint8_t variant = 1;
  std::uint32_t serial_number = 412345678;
  std::uint8_t version_major = 3;
  std::uint8_t version_minor = 4;
  // From the end of a command to the first byte of the answer: the loader's
  // own delay plus the USB adapter's latency.
  std::uint32_t turnaround_ms = 2;
};

struct Faults {
  bool silent = false;                              // never answers: switched off
  bool give_up_on_wake_up = false;                  // answers the wake-up with 133
  std::optional<std::uint8_t> refused_command;      // answered with kRefusal
  std::optional<std::size_t> refused_program_word;  // the Nth program word (from 1) is refused
  bool garbage = false;                             // every byte it sends is junk
  std::optional<std::size_t> silent_after_bytes;    // dies once it has received this many bytes
  // Lost on the line, counted from 1: the Nth byte sent to it (as
  // BytesReceived counts them) never reaches the loader; the Nth byte it
  // sends never reaches the host.
  std::optional<std::size_t> lost_byte;
  std::optional<std::size_t> lost_reply_byte;
};

enum class Direction { kToDevice, kFromDevice };

struct LogEntry {
  Direction direction;
  std::uint8_t byte;
};

class LoaderDevice {
 public:
  explicit LoaderDevice(DeviceConfig config = {});

  // One byte as the device received it; returns the bytes it answers, all
  // sent at the rate BaudRate() had before the call.
  std::vector<std::uint8_t> Receive(std::uint8_t byte);

  Faults& faults() { return faults_; }
  const DeviceConfig& config() const { return config_; }
  std::uint32_t BaudRate() const { return baud_rate_; }
  bool Awake() const { return state_ != State::kAsleep; }
  bool Unlocked() const { return unlocked_; }
  bool Programming() const { return programming_; }

  const std::array<std::uint16_t, kProgramWords>& program() const { return program_; }
  const std::array<std::uint8_t, kDataBytes>& data() const { return data_; }
  void SetDataByte(std::size_t address, std::uint8_t value) { data_.at(address) = value; }

  std::size_t BytesReceived() const { return bytes_received_; }
  std::size_t ProgramWordsReceived() const { return program_words_received_; }
  const std::vector<LogEntry>& log() const { return log_; }
  // The bytes sent to or by the device, in order.
  std::vector<std::uint8_t> BytesInLog(Direction direction) const;
  void ClearLog() { log_.clear(); }

  // One line per byte, "-> 80" for received and "<- 81" for sent.
  void PrintLog(std::ostream& out) const;
  // Both memories in hexadecimal, 8 words or 16 bytes to a line.
  void DumpMemories(std::ostream& out) const;

 private:
  enum class State {
    kAsleep,      // waits for the wake-up
    kCommand,     // awake, waits for a command
    kParameters,  // collects the hexadecimal characters of command_
    kSendingHex,  // has sent a character and waits for its acknowledgement
  };

  std::vector<std::uint8_t> Handle(std::uint8_t byte);
  std::vector<std::uint8_t> Command(std::uint8_t command);
  std::vector<std::uint8_t> Execute();  // command_ with its parameters complete
  std::vector<std::uint8_t> StartHexReply(std::vector<std::uint8_t> values);
  std::vector<std::uint8_t> ExpectParameters(std::uint8_t command, std::size_t characters);
  std::vector<std::uint8_t> Acknowledge(bool accepted);
  bool Refuses(std::uint8_t command) const;
  bool Dead() const;

  DeviceConfig config_;
  Faults faults_;
  State state_ = State::kAsleep;
  std::uint32_t baud_rate_ = 9600;
  bool unlocked_ = false;
  bool programming_ = false;
  std::uint8_t command_ = 0;
  std::size_t parameter_characters_ = 0;
  std::vector<std::uint8_t> parameters_;  // decoded bytes of the hexadecimal pairs
  std::string pending_digit_;             // first character of a pair
  std::string hex_out_;                   // characters still to send, one per acknowledgement
  std::array<std::uint16_t, kProgramWords> program_;
  std::array<std::uint8_t, kDataBytes> data_;
  std::size_t bytes_received_ = 0;
  std::size_t bytes_sent_ = 0;
  std::size_t program_words_received_ = 0;
  std::vector<LogEntry> log_;
};

// The rate a divisor code of command 158 selects, if the loader knows it.
std::optional<std::uint32_t> RateForDivisor(std::uint8_t divisor);

}  // namespace sim
