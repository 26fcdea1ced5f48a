#pragma once
// What the serial line does to bytes: how long one takes, and what becomes
// of one read with other framing than it was sent with.

#include <chrono>
#include <cstdint>

namespace sim {

// Milliseconds one byte (start, 8 data, parity and stop bits) takes, rounded up.
inline std::uint32_t ByteTimeMs(std::uint32_t baud_rate) {
  return (11u * 1000u + baud_rate - 1) / baud_rate;
}

// The same without rounding, for pacing in real time.
inline std::chrono::nanoseconds WireTime(std::uint32_t baud_rate) {
  if (baud_rate == 0) return std::chrono::nanoseconds(0);
  return std::chrono::nanoseconds(11'000'000'000LL / baud_rate);
}

// A byte framed differently at the two ends; never the byte itself.
inline std::uint8_t Garbled(std::uint8_t byte) {
  return static_cast<std::uint8_t>(byte ^ 0xA5);
}

}  // namespace sim
