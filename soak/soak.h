#pragma once
// The soak: whole updates in virtual time against the simulated device, each
// with one fault drawn from a seeded generator, each failure answered Yes and
// followed by a retry on a healthy device. After every run it checks what
// the user and the device are left with, and it tallies faults, outcomes
// and every broken expectation.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "simulator/loader_device.h"

namespace kst_soak {

enum class FaultKind {
  kSilence,           // the device stops answering at some byte
  kRefusal,           // an acknowledgement is refused
  kGarbage,           // from some moment on, everything the device sends is junk
  kLostByte,          // one byte lost on the line, either way
  kPulledAdapter,     // the adapter pulled out at some byte
  kOffDuringPowerOn,  // the device switched on late in the power-on wait, or not at all
  kWrongIdentity,     // not the expected loader
};
inline constexpr std::size_t kFaultKinds = 7;
const char* FaultName(FaultKind kind);

enum class Outcome {
  kUpdated,            // no dialog: the update went through the fault
  kFailedThenRetried,  // transmission failure, Yes, retry
  kTimedOutThenRetried,
  kRejectedThenRetried,
};
inline constexpr std::size_t kOutcomes = 4;
const char* OutcomeName(Outcome outcome);

struct Tally {
  std::size_t runs = 0;
  std::array<std::size_t, kFaultKinds> faults{};
  std::array<std::size_t, kOutcomes> outcomes{};
  std::vector<std::string> problems;
};

// What a whole update leaves in a device, taken from an update without faults.
struct Reference {
  std::array<std::uint16_t, sim::kProgramWords> program;
  std::array<std::uint8_t, sim::kDataBytes> data;
  std::size_t host_bytes = 0;    // bytes the host sends during it
  std::size_t device_bytes = 0;  // bytes the device sends
  std::size_t program_words = 0;
};

class Soak {
 public:
  explicit Soak(std::uint64_t seed);

  void Run(std::size_t runs);
  const Tally& tally() const { return tally_; }
  // Counts in a fixed format, one "name value" per line.
  void Report(std::ostream& out) const;

 private:
  void RunOne();

  std::uint64_t seed_;
  std::mt19937_64 random_;
  std::array<Reference, 2> references_;  // by image: variants 1 to 3, variant 4
  Tally tally_;
};

}  // namespace kst_soak
