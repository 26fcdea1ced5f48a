#include "soak/soak.h"

#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "about/Boiteapropos.h"
#include "forms/application.h"
#include "forms/headless/headless_backend.h"
#include "forms/text.h"
#include "platform/memory_port_map.h"
#include "platform/services.h"
#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"
#include "tests/support/fake_system_services.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

namespace kst_soak {

namespace {

constexpr int kDevicePort = 4;
constexpr std::uint32_t kUpdateLimitMs = 10 * 60 * 1000;  // far beyond any update
constexpr std::uint32_t kPowerOnTickMs = 2250;
constexpr int kPowerOnTicks = 20;

// One bench per run: the wizard on virtual time, a device behind the maker's
// adapter on COM4. The forms can be destroyed before the serial ports, to
// see what they leave open.
struct Bench {
  platform::VirtualClock clock;
  sim::SimulatedSerial serial{clock};
  platform::MemoryPortMap port_map;
  kst_test::FakeSystemServices system;
  platform::Services services{serial, clock, port_map, system};
  forms::HeadlessBackend backend{clock};
  std::optional<forms::Application> app;

  Bench() {
    port_map.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}});
    app.emplace(backend);
    backend.SetDialogHandler([](const forms::DialogRequest& request) {
      return request.buttons == forms::MsgDlgButtons::Ok ? forms::ModalResult::Ok
                                                         : forms::ModalResult::Yes;
    });
  }

  TFormMj& Start() {
    app->CreateForm(FormMj, services);
    app->CreateForm(FormAPropos, services.system);
    FormMj->Show();
    return *FormMj;
  }

  // From the port step (5) or the launch step (6) to the power-on wait.
  bool Launch(TFormMj& form) {
    while (form.Step < 7) {
      if (!backend.Click(form.ButtonSuivant)) return false;
    }
    return form.Step == 7;
  }

  bool Finished(const TFormMj& form, std::size_t dialogs_before) const {
    return backend.Dialogs().size() > dialogs_before ||
           (form.Step == 10 && !form.TimerGestionSerie.Enabled());
  }

  // Runs until the attempt ends: a new dialog answered, or the last step reached.
  bool RunAttempt(const TFormMj& form, std::size_t dialogs_before) {
    return backend.RunUntil([&] { return Finished(form, dialogs_before); }, kUpdateLimitMs);
  }
};

sim::DeviceConfig RandomHealthyDevice(std::mt19937_64& random) {
  sim::DeviceConfig config;
  config.variant = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 4)(random));
  config.serial_number = std::uniform_int_distribution<std::uint32_t>(400000000, 499999999)(random);
  config.version_major = std::uniform_int_distribution<int>(0, 1)(random) == 0 ? 2 : 3;
  config.version_minor = static_cast<std::uint8_t>(
      std::uniform_int_distribution<int>(0, config.version_major == 2 ? 9 : 4)(random));
  return config;
}

std::size_t Uniform(std::mt19937_64& random, std::size_t low, std::size_t high) {
  return std::uniform_int_distribution<std::size_t>(low, high)(random);
}

bool IsSerialNumberByte(std::size_t address) {
  return address >= sim::kSerialNumberAddress && address < sim::kSerialNumberAddress + 4;
}

// Every byte of the image in place; the device's own serial number and
// version stamp aside.
bool HoldsWholeImage(const sim::LoaderDevice& device, const Reference& reference) {
  if (device.program() != reference.program) return false;
  for (std::size_t address = 0; address < sim::kDataBytes; ++address) {
    const bool identity = IsSerialNumberByte(address) || address == sim::kVersionMajorAddress ||
                          address == sim::kVersionMinorAddress;
    if (!identity && device.data()[address] != reference.data[address]) return false;
  }
  return true;
}

bool HoldsVersion(const sim::LoaderDevice& device, std::uint8_t major, std::uint8_t minor) {
  return device.data()[sim::kVersionMajorAddress] == major &&
         device.data()[sim::kVersionMinorAddress] == minor;
}

bool SerialNumberKept(const sim::LoaderDevice& device,
                      const std::array<std::uint8_t, sim::kDataBytes>& before) {
  for (std::size_t k = 0; k < 4; ++k) {
    if (device.data()[sim::kSerialNumberAddress + k] != before[sim::kSerialNumberAddress + k])
      return false;
  }
  return true;
}

Reference UpdateWithoutFault(std::uint8_t variant) {
  Bench bench;
  sim::DeviceConfig config;
  config.variant = variant;
  sim::LoaderDevice& device = bench.serial.AddDevice(kDevicePort, config);
  TFormMj& form = bench.Start();
  Reference reference{};
  if (!bench.Launch(form) || !bench.RunAttempt(form, 0) || form.Step != 10 ||
      !bench.backend.Dialogs().empty()) {
    throw std::runtime_error("kst90-soak: an update without faults did not succeed");
  }
  reference.program = device.program();
  reference.data = device.data();
  reference.host_bytes = device.BytesReceived();
  reference.device_bytes = device.BytesInLog(sim::Direction::kFromDevice).size();
  reference.program_words = device.ProgramWordsReceived();
  return reference;
}

const char* const kWrongIdentities[] = {"P05", "p04", "P4", "04P", "\xFF\xFF\xFF"};
const std::uint8_t kRefusableCommands[] = {
    sim::kUnlock,       sim::kStartProgramming, sim::kWriteDataByte,   sim::kReadVariant,
    sim::kReadDataByte, sim::kReadIdentity,     sim::kWriteProgramWord};

}  // namespace

const char* FaultName(FaultKind kind) {
  switch (kind) {
    case FaultKind::kSilence:
      return "silence";
    case FaultKind::kRefusal:
      return "refusal";
    case FaultKind::kGarbage:
      return "garbage";
    case FaultKind::kLostByte:
      return "lost-byte";
    case FaultKind::kPulledAdapter:
      return "pulled-adapter";
    case FaultKind::kOffDuringPowerOn:
      return "off-during-power-on";
    case FaultKind::kWrongIdentity:
      return "wrong-identity";
  }
  return "?";
}

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kUpdated:
      return "updated-without-dialog";
    case Outcome::kFailedThenRetried:
      return "transmission-failure-then-retry";
    case Outcome::kTimedOutThenRetried:
      return "power-on-time-out-then-retry";
    case Outcome::kRejectedThenRetried:
      return "device-rejected-then-retry";
  }
  return "?";
}

Soak::Soak(std::uint64_t seed) : seed_(seed), random_(seed) {
  references_[0] = UpdateWithoutFault(1);
  references_[1] = UpdateWithoutFault(4);
}

void Soak::Run(std::size_t runs) {
  for (std::size_t run = 0; run < runs; ++run) RunOne();
}

void Soak::RunOne() {
  const std::size_t run = tally_.runs++;
  const auto kind = static_cast<FaultKind>(Uniform(random_, 0, kFaultKinds - 1));
  ++tally_.faults[static_cast<std::size_t>(kind)];
  std::ostringstream fault;  // what was done, for the problem lines
  fault << FaultName(kind);
  const auto problem = [&](const std::string& what) {
    std::ostringstream line;
    line << "run " << run << " (" << fault.str() << "): " << what;
    tally_.problems.push_back(line.str());
  };

  Bench bench;
  sim::DeviceConfig config = RandomHealthyDevice(random_);
  const sim::DeviceConfig healthy = config;
  if (kind == FaultKind::kWrongIdentity) {
    config.identity = kWrongIdentities[Uniform(random_, 0, std::size(kWrongIdentities) - 1)];
  }
  sim::LoaderDevice* device = &bench.serial.AddDevice(kDevicePort, config);
  const auto data_before = device->data();
  const Reference& reference = references_[config.variant == 4 ? 1 : 0];

  TFormMj& form = bench.Start();
  if (!bench.Launch(form)) {
    problem("the wizard did not reach the power-on step");
    return;
  }
  const std::uint32_t launched_at = bench.clock.Now();

  // Faults that start at a byte of the update are set now; the others once
  // the update has come that far.
  std::optional<std::size_t> from_byte;
  std::optional<std::uint8_t> refuse_from_then;
  bool garbage_from_then = false;
  std::optional<std::uint32_t> switch_on_after_ms;
  switch (kind) {
    case FaultKind::kSilence:
      device->faults().silent_after_bytes = Uniform(random_, 1, reference.host_bytes - 1);
      fault << " after byte " << *device->faults().silent_after_bytes;
      break;
    case FaultKind::kRefusal:
      if (Uniform(random_, 0, 1) == 0) {
        device->faults().refused_program_word = Uniform(random_, 1, reference.program_words);
        fault << " of program word " << *device->faults().refused_program_word;
      } else {
        refuse_from_then =
            kRefusableCommands[Uniform(random_, 0, std::size(kRefusableCommands) - 1)];
        from_byte = Uniform(random_, 1, reference.host_bytes - 1);
        fault << " of command " << int{*refuse_from_then} << " from byte " << *from_byte;
      }
      break;
    case FaultKind::kGarbage:
      garbage_from_then = true;
      from_byte = Uniform(random_, 1, reference.host_bytes - 1);
      fault << " from byte " << *from_byte;
      break;
    case FaultKind::kLostByte:
      if (Uniform(random_, 0, 1) == 0) {
        device->faults().lost_byte = Uniform(random_, 1, reference.host_bytes);
        fault << " to the device, byte " << *device->faults().lost_byte;
      } else {
        device->faults().lost_reply_byte = Uniform(random_, 1, reference.device_bytes);
        fault << " from the device, byte " << *device->faults().lost_reply_byte;
      }
      break;
    case FaultKind::kPulledAdapter: {
      const std::size_t at = Uniform(random_, 0, reference.host_bytes - 1);
      if (at == 0)
        bench.serial.Unplug(kDevicePort);
      else
        bench.serial.UnplugAfterBytes(kDevicePort, at);
      fault << " after byte " << at;
      break;
    }
    case FaultKind::kOffDuringPowerOn: {
      device->faults().silent = true;
      // Half-way between two ticks of the wait, so that the tick it is seen
      // on is known: before the last one the update goes on, after it the
      // wait runs out.
      const std::size_t ticks = Uniform(random_, 0, kPowerOnTicks + 3);
      switch_on_after_ms = static_cast<std::uint32_t>(ticks) * kPowerOnTickMs + 1000;
      fault << " for " << ticks << " ticks";
      break;
    }
    case FaultKind::kWrongIdentity:
      fault << " \"" << config.identity << "\"";
      break;
  }

  bool ended = true;
  if (from_byte) {
    const std::size_t at = *from_byte;
    ended = bench.backend.RunUntil(
        [&] { return bench.Finished(form, 0) || device->BytesReceived() >= at; }, kUpdateLimitMs);
    if (refuse_from_then) device->faults().refused_command = *refuse_from_then;
    if (garbage_from_then) device->faults().garbage = true;
  }
  if (switch_on_after_ms) {
    bench.backend.RunFor(*switch_on_after_ms - (bench.clock.Now() - launched_at));
    device->faults().silent = false;
  }
  ended = ended && bench.RunAttempt(form, 0);
  bench.backend.RunFor(5000);  // nothing may follow

  const std::size_t dialogs = bench.backend.Dialogs().size();
  if (!ended) problem("the update neither ended nor reported within its time");
  if (dialogs > 1) problem(std::to_string(dialogs) + " dialogs for one failure");
  if (!SerialNumberKept(*device, data_before)) problem("the serial number changed");
  const bool whole_image = HoldsWholeImage(*device, reference);
  const bool updated = whole_image && HoldsVersion(*device, 3, 5);
  // Cut short between its two bytes, the stamp keeps the old major.
  const bool stamp_cut = whole_image && HoldsVersion(*device, config.version_major, 5);
  if (!updated && !stamp_cut && !HoldsVersion(*device, config.version_major, config.version_minor))
    problem("the device holds neither its old version nor the whole update");

  Outcome outcome = Outcome::kUpdated;
  if (dialogs == 0) {
    if (form.Step != 10 || !updated) problem("no dialog, yet the device was not updated");
  } else {
    const forms::DialogRequest& request = bench.backend.Dialogs()[0].request;
    if (request.buttons == forms::MsgDlgButtons::Ok) {
      outcome = Outcome::kTimedOutThenRetried;
      if (form.Step != 5) problem("after the time-out the wizard is not on the port step");
    } else {
      outcome = request.text == MsgTransmissionFailed[0] ? Outcome::kFailedThenRetried
                                                         : Outcome::kRejectedThenRetried;
      if (form.Step != 6) problem("after Yes the wizard is not on the launch step");
    }
  }
  if (kind == FaultKind::kWrongIdentity && outcome != Outcome::kRejectedThenRetried)
    problem("a device with another identity was not rejected");
  if (switch_on_after_ms) {
    const bool late = *switch_on_after_ms > kPowerOnTicks * kPowerOnTickMs;
    if (late != (outcome == Outcome::kTimedOutThenRetried))
      problem(late ? "no time-out for a device switched on too late"
                   : "a device switched on in time was not updated");
  }
  ++tally_.outcomes[static_cast<std::size_t>(outcome)];

  if (dialogs == 1) {
    // The technician plugs the adapter back in, switches the device off and
    // on (or takes a good one) and tries again.
    bench.serial.PlugIn(kDevicePort);
    if (kind == FaultKind::kWrongIdentity) {
      device = &bench.serial.AddDevice(kDevicePort, healthy);
    } else {
      device->faults() = sim::Faults{};
    }
    const auto data_before_retry = device->data();
    // A failure after the stamp's minor byte left a 3.x device at 3.5 over
    // the whole image: the retry finds it updated already.
    const bool already_updated = kind != FaultKind::kWrongIdentity && updated;
    const auto& dialogs_now = bench.backend.Dialogs();
    if (!bench.Launch(form) || !bench.RunAttempt(form, 1)) {
      problem("the retry did not end");
    } else if (already_updated) {
      if (dialogs_now.size() != 2 ||
          dialogs_now[1].request.text !=
              forms::Format(MsgAlreadyUpdated[0], CP04::DeviceName(), CP04::DeviceName()))
        problem("the retry on an updated device did not say so");
    } else if (dialogs_now.size() != 1 || form.Step != 10) {
      problem("the retry on a healthy device failed");
    }
    if (!HoldsWholeImage(*device, reference) || !HoldsVersion(*device, 3, 5) ||
        !SerialNumberKept(*device, data_before_retry)) {
      problem("the retry did not leave the whole update in the device");
    }
  }

  bench.app.reset();
  for (const int com : bench.serial.ComNumbers()) {
    if (bench.serial.IsOpen(com)) problem("COM" + std::to_string(com) + " left open");
  }
}

void Soak::Report(std::ostream& out) const {
  out << "seed " << seed_ << '\n';
  out << "runs " << tally_.runs << '\n';
  for (std::size_t k = 0; k < kFaultKinds; ++k)
    out << "fault " << FaultName(static_cast<FaultKind>(k)) << ' ' << tally_.faults[k] << '\n';
  for (std::size_t k = 0; k < kOutcomes; ++k)
    out << "outcome " << OutcomeName(static_cast<Outcome>(k)) << ' ' << tally_.outcomes[k] << '\n';
  out << "problems " << tally_.problems.size() << '\n';
  for (const std::string& line : tally_.problems) out << "problem " << line << '\n';
}

}  // namespace kst_soak
