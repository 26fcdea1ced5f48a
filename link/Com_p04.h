#pragma once
// CP04: the link to the device's resident loader over one serial port. The
// lower layer owns the port (exclusive open, fixed line settings, bounded
// one-byte transfers); the upper layer speaks the loader's command protocol.
// Every failure comes back as a result code, also kept for LastResult.

#include <cstdint>

#include "platform/clock.h"
#include "platform/serial_api.h"

// Result codes of the link's own; any other non-zero code is a system error
// code as GetLastError numbers it.
inline constexpr std::int32_t kLinkOk = 0;
inline constexpr std::int32_t kLinkNotConnected = 100001;       // the loader never answered 129
inline constexpr std::int32_t kLinkNoReply = 100002;            // read time-outs expired
inline constexpr std::int32_t kLinkRefused = 100003;            // reply other than 132
inline constexpr std::int32_t kLinkNotUnlocked = 100004;        // StartProgramming before Unlock
inline constexpr std::int32_t kLinkAddressOutOfRange = 100007;  // program word address
inline constexpr std::int32_t kLinkNotProgramming = 100009;     // loader not in programming state
inline constexpr std::int32_t kLinkPortNotOpen = 100016;
inline constexpr std::int32_t kLinkWrongIdentity = 100020;  // identity is not "P04"

// Values of LoaderState.
inline constexpr std::int32_t kLoaderIdle = 0;
inline constexpr std::int32_t kLoaderUnlocked = 2;
inline constexpr std::int32_t kLoaderProgramming = 3;

class CP04 {
 public:
  CP04(platform::SerialApi& serial, platform::Clock& clock);
  ~CP04();
  CP04(const CP04&) = delete;
  CP04& operator=(const CP04&) = delete;

  // Serial port channel.
  void SetPort(std::int32_t n);  // negative n keeps the current port
  std::int32_t Open();
  std::int32_t Close();
  std::int32_t SetBaudRate(std::int32_t rate);
  std::int32_t Purge();
  std::int32_t WriteByte(std::uint8_t b);
  std::int32_t ReadByte(std::int32_t& out);
  void Wait(std::uint32_t milliseconds);
  std::int32_t LastResult() const { return ResultCode; }

  // Loader command protocol.
  std::int32_t Connect(std::int32_t seconds);
  std::int32_t Disconnect();
  std::int32_t Unlock();
  std::int32_t ReadIdentity(char (&text)[4]);
  std::int32_t CheckIdentity();
  std::int32_t ReadVariant(std::int32_t& variant);
  std::int32_t SetLoaderBaudRate(std::int32_t rate);
  std::int32_t ReadVersion(unsigned& major, unsigned& minor);
  std::int32_t WriteVersion(std::int32_t major, std::int32_t minor);
  std::int32_t ReadSerialNumber(std::uint32_t& serial);
  std::int32_t ReadDataByte(std::int32_t address, std::int32_t& value);
  std::int32_t WriteDataByte(std::int32_t address, std::int32_t value);
  std::int32_t ReadDataWord(std::int32_t address, std::int32_t& value);
  std::int32_t StartProgramming();
  std::int32_t EndProgramming();
  std::int32_t WriteProgramWord(std::uint32_t address, std::uint32_t data);
  std::int32_t SendHexByte(std::uint32_t value);
  std::int32_t ReceiveHexByte(std::int32_t& value, bool acknowledge);
  static std::int32_t HexPairValue(std::uint32_t high, std::uint32_t low);
  static const char* DeviceName() { return "Satellite de la KST90 SII"; }

  // Read access to the link's state.
  bool IsOpen() const { return Handle != platform::kInvalidHandle; }
  std::int32_t GetPort() const { return Port; }
  std::uint32_t GetConnected() const { return Connected; }
  std::int32_t GetLoaderState() const { return LoaderState; }
  std::uint32_t GetRetryLimit() const { return RetryLimit; }
  const platform::Dcb& GetSettings() const { return Settings; }
  const platform::CommTimeouts& GetTimeouts() const { return Timeouts; }

 private:
  std::int32_t Finish(std::int32_t code);  // stores code as ResultCode and returns it
  std::int32_t SystemError();              // Finish with the platform's last error
  std::int32_t ProgramWordExchange(std::uint32_t address, std::uint32_t data);

  platform::SerialApi& serial_;
  platform::Clock& clock_;

  platform::PortHandle Handle = platform::kInvalidHandle;
  platform::Dcb Settings{};
  platform::Dcb SavedSettings{};
  platform::CommTimeouts Timeouts{};
  platform::CommTimeouts SavedTimeouts{};
  std::int32_t Port = 2;
  std::uint32_t Connected = 0;
  std::int32_t LoaderState = kLoaderIdle;
  std::int32_t ResultCode = kLinkOk;
  std::uint32_t RetryLimit = 0;  // a refused program word is not sent again
};
