// The wizard on the terminal backend, in virtual time: whole updates driven
// by --port and by scripts, the exit status of every way a run ends, the
// progress display, input that ends or waits for its screen, and signals.
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "app/exit_status.h"
#include "forms/terminal/interrupt.h"
#include "tests/terminal/terminal_fixture.h"
#include "tests/wizard/update_fixture.h"

namespace {

using forms::ModalResult;
using kst_test::Count;
using kst_test::TerminalRun;

struct OutcomeCase {
  const char* label;
  sim::DeviceConfig config;
  sim::Faults faults;
  std::optional<ModalResult> answer;  // --yes / --no
  int status;
  const char* last_box;  // the start of the text of the box shown; "" for none
  std::int32_t language = -1;
};

sim::Faults Silent() {
  sim::Faults faults;
  faults.silent = true;
  return faults;
}

sim::Faults SilentAfter(std::size_t bytes) {
  sim::Faults faults;
  faults.silent_after_bytes = bytes;
  return faults;
}

sim::DeviceConfig Version(std::uint8_t major, std::uint8_t minor) {
  return sim::DeviceConfig{.version_major = major, .version_minor = minor};
}

class OutcomeTest : public ::testing::TestWithParam<OutcomeCase> {};

// With --port the terminal goes through steps 1 to 6 by itself; the input
// is empty from the start, yet the run goes on until the update has ended.
TEST_P(OutcomeTest, ExitStatusSaysHowTheUpdateEnded) {
  const OutcomeCase& c = GetParam();
  TerminalRun run;
  run.AddDevice(c.config).faults() = c.faults;
  run.port = 4;
  run.options.yes_no_answer = c.answer;
  run.language = c.language;
  EXPECT_EQ(run.Run(""), c.status) << run.Output();
  const std::string output = run.Output();
  EXPECT_NE(output.find(c.language == 1 ? "-> Connection" : "-> Connexion"), std::string::npos)
      << output;
  const std::string box(c.last_box);
  const int boxes = Count(output, "[Erreur]\n") + Count(output, "[Information]\n");
  EXPECT_EQ(boxes, box.empty() ? 0 : 1) << output;
  if (!box.empty()) {
    EXPECT_TRUE(output.find("[Erreur]\n" + box) != std::string::npos ||
                output.find("[Information]\n" + box) != std::string::npos)
        << output;
  }
  EXPECT_TRUE(run.errors.str().empty()) << run.errors.str();
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, OutcomeTest,
    ::testing::Values(OutcomeCase{"Updated", {}, {}, std::nullopt, kExitUpdated, ""},
                      OutcomeCase{"WrongDevice",
                                  {.identity = "P05"},
                                  {},
                                  ModalResult::No,
                                  kExitWrongDevice,
                                  "L'appareil n'est pas un appareil"},
                      OutcomeCase{"SerialNumber",
                                  {.serial_number = 399999999},
                                  {},
                                  ModalResult::No,
                                  kExitSerialNumber,
                                  "Le num\xC3\xA9ro de s\xC3\xA9rie"},
                      OutcomeCase{"AlreadyUpdated",
                                  Version(3, 5),
                                  {},
                                  ModalResult::No,
                                  kExitNotOlder,
                                  "Votre Satellite de la KST90 SII a d\xC3\xA9j\xC3\xA0"},
                      OutcomeCase{"NewerInstalled",
                                  Version(4, 0),
                                  {},
                                  ModalResult::Yes,
                                  kExitNotOlder,
                                  "Votre Satellite de la KST90 SII a une mise"},
                      OutcomeCase{"WrongVariant",
                                  {.variant = 5},
                                  {},
                                  ModalResult::Yes,
                                  kExitWrongVariant,
                                  "L'appareil n'est pas pour cette version"},
                      OutcomeCase{"WrongVariantInEnglish",
                                  {.variant = 0},
                                  {},
                                  ModalResult::No,
                                  kExitWrongVariant,
                                  "This version of is not for this device.",
                                  1},
                      OutcomeCase{"TooOld",
                                  Version(1, 9),
                                  {},
                                  ModalResult::No,
                                  kExitTooOld,
                                  "L'appareil Satellite de la KST90 SII ne peut pas"},
                      OutcomeCase{"SwitchedOff",
                                  {},
                                  Silent(),
                                  ModalResult::Yes,
                                  kExitPowerOnTimeout,
                                  "Echec \xC3\xA0 la connexion"},
                      OutcomeCase{"SilentWhileProgramming",
                                  {},
                                  SilentAfter(3000),
                                  ModalResult::No,
                                  kExitTransmissionFailure,
                                  "Un Probl\xC3\xA8me de transmission"}),
    [](const ::testing::TestParamInfo<OutcomeCase>& tested) { return tested.param.label; });

struct ImageCase {
  std::uint8_t variant;
  const char* hex_file;
};

class FullUpdateTest : public ::testing::TestWithParam<ImageCase> {};

// A whole update typed ahead as a script, in English: the answers wait for
// the screens that offer them, the last one ("n", No on step 10) through
// the programming, which no key offers.
TEST_P(FullUpdateTest, ScriptTypedAheadUpdatesTheDeviceAndQuitsOnNo) {
  TerminalRun run;
  sim::LoaderDevice& device = run.AddDevice({.variant = GetParam().variant});
  const sim::LoaderDevice before({.variant = GetParam().variant});
  EXPECT_EQ(run.Run("2\nn\nn\nn\nn\nCOM4\nNext\nc\nn\n"), kExitUpdated) << run.Output();

  const kst_test::DeviceMemories expected =
      kst_test::ExpectedAfterUpdate(GetParam().hex_file, before);
  EXPECT_EQ(device.program(), expected.program);
  EXPECT_EQ(device.data(), expected.data);
  const std::string output = run.Output();
  EXPECT_NE(output.find("Successful update\n"), std::string::npos) << output;
  EXPECT_NE(output.find("-> No\n"), std::string::npos);
  // On a pipe the bar is printed once a tenth: 0 % to 100 %.
  EXPECT_EQ(Count(output, "[########################################] 100 %"), 1) << output;
  EXPECT_EQ(Count(output, "]  10 %") + Count(output, "]  50 %"), 2);
  EXPECT_EQ(Count(output, "Step n\xC2\xB0 9 of 10"), 1);
}

INSTANTIATE_TEST_SUITE_P(BothImages, FullUpdateTest,
                         ::testing::Values(ImageCase{1, "firmware_a.hex"},
                                           ImageCase{4, "firmware_b.hex"}));

// On a terminal the bar is redrawn in place, and the screen it stands on
// is not printed again for it.
TEST(TerminalProgressTest, LiveBarIsRedrawnInPlace) {
  TerminalRun run;
  run.AddDevice();
  run.port = 4;
  run.options.live_output = true;
  EXPECT_EQ(run.Run(""), kExitUpdated);
  const std::string output = run.Output();
  EXPECT_GT(Count(output, "\r\x1b[K["), 300) << output.substr(0, 3000);
  EXPECT_EQ(Count(output, "Etape n\xC2\xB0 9 sur 10"), 1);
  // The power-on wait shows its bar too, hidden as it is on the window.
  EXPECT_NE(output.find("\r\x1b[K[##......................................]   5 %"),
            std::string::npos);
}

TEST(TerminalInputTest, KeysSelectByNumberAndSkipEscapeSequences) {
  TerminalRun run;
  std::vector<platform::SerialPortMapValue> ports;
  for (int com = 1; com <= 12; ++com) {
    ports.push_back({"\\Device\\Serial" + std::to_string(com), "COM" + std::to_string(com)});
  }
  run.port_map.Set(ports);
  run.options.key_input = true;
  // An arrow key, then 2 (English) at once since no list entry 20 exists;
  // Next four times; entries 1 and 12 on the port list of twelve.
  EXPECT_EQ(run.Run("\x1b[B2nnnn1\r12\x1bx"), kExitQuit) << run.Output();
  const std::string output = run.Output();
  EXPECT_NE(output.find("-> 2) English"), std::string::npos) << output;
  EXPECT_NE(output.find("-> 1) COM1\n"), std::string::npos) << output;
  EXPECT_NE(output.find("-> 12) COM9"), std::string::npos) << output;  // sorted as text
  EXPECT_NE(output.find("-> Exit"), std::string::npos) << output;
}

// The about box runs its own loop: the keys after the one that opened it are its own.
TEST(TerminalInputTest, AboutBoxTakesTheKeysThatFollowItsOpening) {
  TerminalRun run;
  EXPECT_EQ(run.Run("a\n\nq\n"), kExitQuit) << run.Output();
  const std::string output = run.Output();
  const auto about = output.find("-> A propos\n");
  const auto ok = output.find("-> Ok\n");
  const auto quit = output.find("-> Quitter\n");
  ASSERT_NE(quit, std::string::npos) << output;
  EXPECT_LT(about, ok);
  EXPECT_LT(ok, quit);
  EXPECT_EQ(Count(output, "Etape n\xC2\xB0 1 sur 10"), 2);  // shown again once the box is gone
}

// --port picks its port even when the list prefers another.
TEST(TerminalInputTest, PortIsPickedOverThePreferredOne) {
  TerminalRun run;
  run.port_map.Set({{"\\Device\\Silabser0", "COM3"}, {"\\Device\\Serial1", "COM4"}});
  run.AddDevice();
  run.port = 4;
  EXPECT_EQ(run.Run(""), kExitUpdated) << run.Output();
  EXPECT_NE(run.Output().find(" * 1) COM3 : VORANEX\n   2) COM4\n"), std::string::npos);
  EXPECT_NE(run.Output().find("-> 2) COM4\n"), std::string::npos) << run.Output();
}

TEST(TerminalInputTest, EndOfInputClosesAWaitingScreenAndReportsWhatWasNotUsed) {
  TerminalRun run;
  EXPECT_EQ(run.Run("s\nnothing here\n"), kExitQuit);
  EXPECT_NE(run.Output().find("Etape n\xC2\xB0 2 sur 10"), std::string::npos);
  EXPECT_NE(run.Output().find("(unused input: nothing here)"), std::string::npos);
}

TEST(TerminalInputTest, LanguageFromTheCommandLineOverridesTheSettingsFile) {
  TerminalRun run;
  run.system.files["C:\\WINDOWS\\ZerbiumV1.CFG"] = "Langue=1;";
  run.language = 0;
  EXPECT_EQ(run.Run(""), kExitQuit);
  EXPECT_NE(run.Output().rfind("[A] propos  [Q]uitter  <[S]uivant>"), std::string::npos)
      << run.Output();
}

TEST(TerminalInputTest, ErrorBoxOfTheStartUpEndsAsStartUpError) {
  TerminalRun run;
  run.system.locked.insert("C:\\WINDOWS\\ZerbiumV1.CFG");
  EXPECT_EQ(run.Run(""), kExitStartUpError);
  EXPECT_NE(run.Output().find("[Kst90VIIMj3_5Daz]\nImpossible d'ouvrir le fichier"),
            std::string::npos)
      << run.Output();
}

TEST(TerminalInputTest, PortThatNeverShowsUpEndsAsStartUpError) {
  TerminalRun run;
  run.port = 7;
  EXPECT_EQ(run.Run(""), kExitStartUpError);
  EXPECT_EQ(run.errors.str(), "COM7: no such serial port\n");
}

// A signal ends the run at once, in order; the handlers go with the watch.
TEST(TerminalSignalTest, SignalEndsTheRunAsQuit) {
  TerminalRun run;
  run.AddDevice();
  run.port = 4;
  {
    forms::InterruptWatch watch;
    std::raise(SIGINT);
    EXPECT_TRUE(forms::Interrupted());
    EXPECT_EQ(run.Run(""), kExitQuit);
  }
  EXPECT_EQ(run.Output().find("-> "), std::string::npos) << run.Output();
  struct sigaction now {};
  sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
