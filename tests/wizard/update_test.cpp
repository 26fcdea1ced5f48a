// Whole updates, headless and in virtual time, against the simulated device:
// what the device holds afterwards, every refusal, the power-on wait, and a
// fault at each exchange of an update followed by a good second attempt.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "forms/text.h"
#include "tests/wizard/update_fixture.h"
#include "wizard/text_catalogue.h"

namespace {

using forms::ModalResult;
using forms::MsgDlgButtons;
using forms::MsgDlgType;
using kst_test::ExpectedAfterUpdate;
using kst_test::UpdateFixture;
using sim::Direction;

const char* const kDevice = "Satellite de la KST90 SII";

// The host's bytes of a link's leave sequence: 158 "81", an acknowledgement, then 4.
bool EndsWithLeave(const std::vector<std::uint8_t>& sent) {
  const std::vector<std::uint8_t> leave{158, '8', '1', 4};
  return sent.size() >= leave.size() && std::equal(leave.rbegin(), leave.rend(), sent.rbegin());
}

class UpdateTest : public UpdateFixture {};

struct ImageCase {
  std::uint8_t variant;
  const char* hex_file;
  int rows;
};

class FullUpdateTest : public UpdateFixture, public ::testing::WithParamInterface<ImageCase> {};

TEST_P(FullUpdateTest, DeviceHoldsTheImageAndVersionThreeFive) {
  sim::LoaderDevice& device = AddDevice({.variant = GetParam().variant});
  const auto expected = ExpectedAfterUpdate(GetParam().hex_file, device);
  TFormMj& form = StartAndConnect();

  ASSERT_TRUE(RunUpdate(form));
  EXPECT_TRUE(w.backend.Dialogs().empty());
  EXPECT_EQ(form.Step, 10);
  EXPECT_EQ(form.ProgressBarProgrammation.Max(), GetParam().rows);
  EXPECT_EQ(form.LabelTitreEtape.Caption(), "Mise \xE0 jour r\xE9ussie");
  EXPECT_EQ(device.program(), expected.program);
  EXPECT_EQ(device.data(), expected.data);

  // The stamp is the last thing written, minor first, then programming ends.
  const auto sent = device.BytesInLog(Direction::kToDevice);
  const std::vector<std::uint8_t> stamp_then_end{139, '7', 'F', '0', '5', 139,
                                                 '7', 'E', '0', '3', 145};
  ASSERT_GE(sent.size(), stamp_then_end.size());
  EXPECT_TRUE(std::equal(stamp_then_end.rbegin(), stamp_then_end.rend(), sent.rbegin()));

  // Yes: another device; the loader is left as it should be.
  ASSERT_TRUE(w.backend.Click(form.ButtonPrecedant));
  EXPECT_EQ(form.Step, 6);
  EXPECT_TRUE(EndsWithLeave(device.BytesInLog(Direction::kToDevice)));
  EXPECT_FALSE(device.Awake());
}

INSTANTIATE_TEST_SUITE_P(BothImages, FullUpdateTest,
                         ::testing::Values(ImageCase{1, "firmware_a.hex", 325},
                                           ImageCase{3, "firmware_a.hex", 325},
                                           ImageCase{4, "firmware_b.hex", 320}));

struct RefusalCase {
  const char* label;
  sim::DeviceConfig device;
  const char* const* text;  // the catalogue entry shown, in French
  MsgDlgType kind;
  bool serial_shown;
};

const sim::DeviceConfig kGood;

sim::DeviceConfig With(std::string identity, std::uint8_t variant, std::uint32_t serial,
                       std::uint8_t major, std::uint8_t minor) {
  return {.identity = std::move(identity),
          .variant = variant,
          .serial_number = serial,
          .version_major = major,
          .version_minor = minor};
}

class RefusalTest : public UpdateFixture,
                    public ::testing::WithParamInterface<std::tuple<RefusalCase, ModalResult>> {};

TEST_P(RefusalTest, OneDialogThenYesLeadsToStepSixAndNoCloses) {
  const auto& [c, answer] = GetParam();
  sim::LoaderDevice& device = AddDevice(c.device);
  const auto before = device.program();
  TFormMj& form = StartAndConnect();
  // What stands behind the box while it is open.
  std::string serial_line;
  w.backend.SetDialogHandler([&, answer = answer](const forms::DialogRequest&) {
    if (form.LabelLigne2.Visible()) serial_line = form.LabelLigne2.Caption();
    return answer;
  });

  ASSERT_TRUE(RunUpdate(form));
  w.backend.RunFor(10000);  // nothing may follow the one box
  ASSERT_EQ(w.backend.Dialogs().size(), 1U);
  const auto& dialog = w.backend.Dialogs()[0].request;
  EXPECT_EQ(dialog.text, forms::Format(c.text[0], kDevice, kDevice));
  EXPECT_EQ(dialog.kind, c.kind);
  EXPECT_EQ(dialog.buttons, MsgDlgButtons::YesNo);
  EXPECT_EQ(serial_line, c.serial_shown
                             ? forms::Format(CheckSerialNumber[0],
                                             static_cast<unsigned long>(c.device.serial_number))
                             : "");
  EXPECT_EQ(device.program(), before);
  EXPECT_FALSE(form.Link.IsOpen());
  if (answer == ModalResult::Yes) {
    EXPECT_EQ(form.Step, 6);
    EXPECT_FALSE(w.app.Terminated());
  } else {
    EXPECT_TRUE(w.app.Terminated());
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachReason, RefusalTest,
    ::testing::Combine(
        ::testing::Values(RefusalCase{"identity", With("P05", 1, 412345678, 3, 4), MsgWrongDevice,
                                      MsgDlgType::Error, false},
                          RefusalCase{"variant0", With("P04", 0, 412345678, 3, 4), MsgWrongVariant,
                                      MsgDlgType::Error, false},
                          RefusalCase{"variant5", With("P04", 5, 412345678, 3, 4), MsgWrongVariant,
                                      MsgDlgType::Error, false},
                          RefusalCase{"serialLow", With("P04", 1, 399999999, 3, 4),
                                      MsgInvalidSerialNumber, MsgDlgType::Error, true},
                          RefusalCase{"serialHigh", With("P04", 2, 500000000, 3, 4),
                                      MsgInvalidSerialNumber, MsgDlgType::Error, true},
                          RefusalCase{"version19", With("P04", 1, 400000000, 1, 9),
                                      MsgIncompatibleFirmware, MsgDlgType::Error, true},
                          RefusalCase{"version35", With("P04", 4, 499999999, 3, 5),
                                      MsgAlreadyUpdated, MsgDlgType::Information, true},
                          RefusalCase{"version36", With("P04", 4, 499999999, 3, 6),
                                      MsgNewerInstalled, MsgDlgType::Information, true}),
        ::testing::Values(ModalResult::Yes, ModalResult::No)),
    [](const auto& test_case) {
      return std::string(std::get<0>(test_case.param).label) +
             (std::get<1>(test_case.param) == ModalResult::Yes ? "_Yes" : "_No");
    });

TEST_F(UpdateTest, PowerOnWaitTimesOutOnTheTwentiethTick) {
  AddDevice().faults().silent = true;
  TFormMj& form = StartAndConnect();

  ASSERT_TRUE(w.backend.RunUntil([&] { return form.ProgressBarProgrammation.Position() == 19; },
                                 kst_test::kUpdateLimitMs));
  EXPECT_EQ(form.LabelBarreProgression.Caption(),
            "Le temps restant pour allumer votre Satellite de la KST90 SII est de 1.5 s.");
  ASSERT_TRUE(RunUpdate(form));
  ASSERT_EQ(w.backend.Dialogs().size(), 1U);
  EXPECT_EQ(w.backend.Dialogs()[0].request.text,
            forms::Format(MsgConnectionFailed[0], kDevice, kDevice));
  EXPECT_EQ(w.backend.Dialogs()[0].request.buttons, MsgDlgButtons::Ok);
  EXPECT_EQ(form.Step, 5);
  EXPECT_EQ(form.LabelBarreProgression.Caption(),
            "Le temps restant pour allumer votre Satellite de la KST90 SII est de 0.0 s.");
  EXPECT_FALSE(form.Link.IsOpen());
  EXPECT_TRUE(form.TimerGestionSerie.Enabled());  // step 5 follows the ports again
}

class SwitchedOnTest : public UpdateFixture, public ::testing::WithParamInterface<int> {};

// Switched on at some tick of the wait, the very last one included: found, not timed out.
TEST_P(SwitchedOnTest, DeviceSwitchedOnDuringTheWaitIsFound) {
  const int tick = GetParam();
  sim::LoaderDevice& device = AddDevice();
  device.faults().silent = true;
  TFormMj& form = StartAndConnect();
  ASSERT_TRUE(
      w.backend.RunUntil([&] { return form.ProgressBarProgrammation.Position() == tick - 1; },
                         kst_test::kUpdateLimitMs));
  device.faults().silent = false;

  ASSERT_TRUE(RunUpdate(form));
  EXPECT_TRUE(w.backend.Dialogs().empty());
  EXPECT_EQ(form.Step, 10);
}

INSTANTIATE_TEST_SUITE_P(AtTick, SwitchedOnTest, ::testing::Values(1, 5, 20));

}  // namespace
