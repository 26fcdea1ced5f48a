// A fault at every exchange of a whole update, one run per exchange: the
// device's adapter pulled out, or the device falling silent, right before
// the exchange's command. Each run must end in exactly one dialog (or, where
// the device had already received everything, in success), never pass a
// failed write off as success, never leave 3.5 over a partial image, and a
// second attempt on the same device must then update it fully.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/text.h"
#include "tests/wizard/update_fixture.h"
#include "wizard/text_catalogue.h"

namespace {

using forms::ModalResult;
using kst_test::HeadlessWizard;
using sim::Direction;

// Bytes the host sends for one exchange, command byte included: parameter
// characters, and an acknowledgement for each character it receives.
std::size_t HostBytesOfExchange(std::uint8_t command) {
  switch (command) {
    case sim::kReadIdentity:
      return 1 + 6;
    case sim::kReadVariant:
      return 1 + 2;
    case sim::kReadDataByte:
      return 1 + 2 + 2;
    case sim::kWriteDataByte:
      return 1 + 4;
    case sim::kWriteProgramWord:
      return 1 + 8;
    case sim::kSetBaudRate:
      return 1 + 2;
    default:
      return 1;  // wake-up, unlock, start and end of programming, leave
  }
}

struct Exchange {
  std::size_t offset;  // of its command byte among the bytes the device received
  std::uint8_t command;
};

std::vector<Exchange> ExchangesOf(const std::vector<std::uint8_t>& sent) {
  std::vector<Exchange> exchanges;
  for (std::size_t at = 0; at < sent.size(); at += HostBytesOfExchange(sent[at]))
    exchanges.push_back({at, sent[at]});
  return exchanges;
}

bool StampedThreeFive(const sim::LoaderDevice& device) {
  return device.data()[sim::kVersionMajorAddress] == 3 &&
         device.data()[sim::kVersionMinorAddress] == 5;
}

TEST(FaultSweepTest, EachExchangeCutEndsInOneDialogAndARetryUpdatesTheDevice) {
  std::vector<Exchange> exchanges;
  kst_test::DeviceMemories expected{};
  {
    HeadlessWizard clean;
    sim::LoaderDevice& device = kst_test::AddDevice(clean);
    expected = kst_test::ExpectedAfterUpdate("firmware_a.hex", device);
    TFormMj& form = kst_test::StartAndConnect(clean);
    ASSERT_TRUE(kst_test::RunUpdate(clean, form));
    ASSERT_EQ(form.Step, 10);
    exchanges = ExchangesOf(device.BytesInLog(Direction::kToDevice));
  }
  ASSERT_GT(exchanges.size(), 2420U);
  ASSERT_EQ(exchanges.back().command, sim::kEndProgramming);

  for (std::size_t e = 0; e < exchanges.size(); ++e) {
    const Exchange& cut = exchanges[e];
    const bool pulled = e % 2 == 0;
    SCOPED_TRACE("exchange " + std::to_string(e) + (pulled ? " pulled" : " silent"));

    auto w = std::make_unique<HeadlessWizard>();
    sim::LoaderDevice& device = kst_test::AddDevice(*w);
    if (pulled) {
      if (cut.offset == 0)
        w->serial.Unplug(kst_test::kDevicePort);
      else
        w->serial.UnplugAfterBytes(kst_test::kDevicePort, cut.offset);
    } else {
      device.faults().silent_after_bytes = cut.offset;
    }
    int step_at_dialog = 0;
    w->backend.SetDialogHandler([&](const forms::DialogRequest& request) {
      step_at_dialog = FormMj->Step;
      return request.buttons == forms::MsgDlgButtons::Ok ? ModalResult::Ok : ModalResult::Yes;
    });

    TFormMj& form = kst_test::StartAndConnect(*w);
    ASSERT_TRUE(kst_test::RunUpdate(*w, form));
    w->backend.RunFor(5000);  // nothing may follow

    const bool fired =
        pulled ? !w->serial.IsPlugged(kst_test::kDevicePort) : device.BytesReceived() > cut.offset;
    ASSERT_TRUE(fired);
    // Cut between the stamp's two bytes, the device holds 3.5 over the whole
    // image: the retry then finds it already updated.
    const bool already_updated = StampedThreeFive(device);
    if (already_updated) {
      ASSERT_EQ(device.program(), expected.program);
    }

    // A device that falls silent once it has everything cannot be told from
    // one that is done: that update counts as finished.
    if (!pulled && cut.command == sim::kEndProgramming) {
      EXPECT_TRUE(w->backend.Dialogs().empty());
      EXPECT_EQ(form.Step, 10);
      continue;
    }
    ASSERT_EQ(w->backend.Dialogs().size(), 1U);
    const std::string& text = w->backend.Dialogs()[0].request.text;
    if (cut.command == sim::kWakeUp) {
      EXPECT_EQ(form.Step, 5);  // the power-on wait ran out
    } else {
      EXPECT_EQ(text, MsgTransmissionFailed[0]);
      EXPECT_EQ(form.Step, 6);
      // Only the end of programming comes after the success screen.
      if (cut.command != sim::kEndProgramming) {
        EXPECT_LT(step_at_dialog, 10);
      }
    }

    // The technician plugs the adapter back, switches the device on again and retries.
    w->serial.PlugIn(kst_test::kDevicePort);
    device.faults().silent_after_bytes.reset();
    if (form.Step == 5) {
      ASSERT_TRUE(w->backend.Click(form.ButtonSuivant));
    }
    ASSERT_TRUE(w->backend.Click(form.ButtonSuivant));  // Connection
    ASSERT_TRUE(kst_test::RunUpdate(*w, form));
    if (already_updated) {
      ASSERT_EQ(w->backend.Dialogs().size(), 2U);
      EXPECT_EQ(w->backend.Dialogs()[1].request.text,
                forms::Format(MsgAlreadyUpdated[0], CP04::DeviceName(), CP04::DeviceName()));
    } else {
      ASSERT_EQ(w->backend.Dialogs().size(), 1U);
      ASSERT_EQ(form.Step, 10);
    }
    ASSERT_EQ(device.program(), expected.program);
    ASSERT_EQ(device.data(), expected.data);
  }
}

}  // namespace
