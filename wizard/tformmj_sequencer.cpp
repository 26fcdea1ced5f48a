// The update sequencer: each tick of TimerGestionSerie does one short piece
// of the current step's work and reports through messages posted to the
// form. It never changes Step itself, and it stops the timer in the same
// tick in which it reports a failure, so no tick runs behind a dialog.
#include "forms/application.h"
#include "forms/text.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

namespace {

constexpr std::int32_t kConnectSeconds = 1;  // one wake-up attempt per tick
constexpr double kPowerOnSeconds = 30.0;     // shown at the start of the countdown
constexpr double kSecondsPerPowerOnTick = 1.5;

constexpr std::uint32_t kSerialNumberFirst = 400000000;
constexpr std::uint32_t kSerialNumberLast = 499999999;

}  // namespace

void TFormMj::TimerGestionSerieTimer(forms::Component* /*sender*/) {
  switch (Step) {
    case 1:
    case 2:
    case 3:
    case 4:
      ScanSerialPorts();
      break;
    case 5:
      RefreshPortListBox();
      break;
    case 7:
      WaitForPowerOn();
      break;
    case 8:
      CheckDevice();
      break;
    case 9:
      ProgramNextRow();
      break;
    case 10:
      EndOfProgramming();
      break;
    default:
      break;  // step 6, or no step at all: nothing to do
  }
}

void TFormMj::Report(unsigned message, std::uintptr_t w_param) {
  forms::PostMessage(*this, message, w_param);
}

void TFormMj::StopAndReport(unsigned message, std::uintptr_t w_param) {
  TimerGestionSerie.SetEnabled(false);
  Report(message, w_param);
}

void TFormMj::StopAndReportLinkFailure() {
  StopAndReport(WM_LINK_FAILURE, static_cast<std::uintptr_t>(Link.LastResult()));
}

void TFormMj::WaitForPowerOn() {
  const bool answered = Link.Connect(kConnectSeconds) == kLinkOk;
  if (answered) Report(WM_STEP_DONE, 0);

  const int position = ProgressBarProgrammation.Position() + 1;
  // A device that answers on the last tick is found, not timed out.
  if (position >= ProgressBarProgrammation.Max() && !answered) {
    StopAndReport(WM_POWER_ON_TIMEOUT, 0);
    Link.Close();
  }
  ProgressBarProgrammation.SetPosition(position);

  const double remaining =
      kPowerOnSeconds - ProgressBarProgrammation.Position() * kSecondsPerPowerOnTick;
  LabelBarreProgression.SetCaption(
      forms::Format(WaitRemainingTime[Language], Link.DeviceName(), remaining));
}

void TFormMj::CheckDevice() {
  switch (SubStep) {
    case 0:
      if (Link.CheckIdentity() != kLinkOk) {
        if (Link.LastResult() == kLinkWrongIdentity)
          StopAndReport(WM_DEVICE_REJECTED, REJECT_WRONG_DEVICE);
        else
          StopAndReportLinkFailure();
        return;
      }
      SubStep = 1;
      LabelLigne1.SetCaption(CheckModelCorrect[Language]);
      LabelLigne1.SetVisible(true);
      return;

    case 1:
      if (Link.ReadVariant(Variant) != kLinkOk) {
        StopAndReportLinkFailure();
        return;
      }
      if (!ChooseImage()) {
        StopAndReport(WM_DEVICE_REJECTED, REJECT_VARIANT);
        return;
      }
      SubStep = 2;
      [[fallthrough]];  // a good variant goes straight on to the serial number

    case 2:
      if (Link.ReadSerialNumber(SerialNumber) != kLinkOk) {
        StopAndReportLinkFailure();
        return;
      }
      SubStep = 3;
      // Shown before the range test, so a refused number stays visible behind the dialog.
      LabelLigne2.SetCaption(
          forms::Format(CheckSerialNumber[Language], static_cast<unsigned long>(SerialNumber)));
      LabelLigne2.SetVisible(true);
      if (SerialNumber < kSerialNumberFirst || SerialNumber > kSerialNumberLast)
        StopAndReport(WM_DEVICE_REJECTED, REJECT_SERIAL_NUMBER);
      return;

    case 3:
      if (Link.ReadVersion(VersionMajor, VersionMinor) != kLinkOk) {
        StopAndReportLinkFailure();
        return;
      }
      // From 2.0 up to 3.4: 3.5 is what this update installs.
      if (VersionMajor == 2 || (VersionMajor == 3 && VersionMinor <= 4)) {
        LabelLigne3.SetCaption(CheckVersionBlank[Language]);
        LabelLigne3.SetVisible(true);
        SubStep = 4;
      } else if (VersionMajor <= 1) {
        StopAndReport(WM_DEVICE_REJECTED, REJECT_TOO_OLD);
      } else {
        StopAndReport(WM_DEVICE_REJECTED, REJECT_NOT_OLDER);
      }
      return;

    case 4:
      LabelLigne4.SetCaption(CheckPreparingTransmission[Language]);
      LabelLigne4.SetVisible(true);
      if (Link.Unlock() != kLinkOk || Link.StartProgramming() != kLinkOk) {
        StopAndReportLinkFailure();
        return;
      }
      StopAndReport(WM_STEP_DONE, 0);
      return;

    default:
      return;
  }
}

void TFormMj::EndOfProgramming() {
  TimerGestionSerie.SetEnabled(false);
  // The loader must hear the end of programming; a device that did not is no success.
  if (Link.EndProgramming() != kLinkOk) StopAndReportLinkFailure();
}
