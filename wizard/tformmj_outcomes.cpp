// How an update ends: the four messages the sequencer posts, each released
// link shown to the user in one modal box, then the step the wizard goes to.
#include "forms/application.h"
#include "forms/message_dlg.h"
#include "forms/text.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

using forms::MsgDlgButtons;
using forms::MsgDlgType;

void TFormMj::Dispatch(forms::Message& message) {
  switch (message.Msg) {
    case WM_LINK_FAILURE:
      WMLinkFailure(message);
      break;
    case WM_POWER_ON_TIMEOUT:
      WMPowerOnTimeout(message);
      break;
    case WM_STEP_DONE:
      WMStepDone(message);
      break;
    case WM_DEVICE_REJECTED:
      WMDeviceRejected(message);
      break;
    default:
      forms::Form::Dispatch(message);
      break;
  }
}

void TFormMj::WMStepDone(forms::Message& /*message*/) {
  NextStep();
}

void TFormMj::WMPowerOnTimeout(forms::Message& /*message*/) {
  // The sequencer closed the link already; back to the port choice.
  forms::MessageDlg(
      App(), forms::Format(MsgConnectionFailed[Language], Link.DeviceName(), Link.DeviceName()),
      MsgDlgType::Error, MsgDlgButtons::Ok);
  Step = 4;
  NextStep();
}

void TFormMj::WMLinkFailure(forms::Message& /*message*/) {
  Link.Disconnect();
  const auto answer = forms::MessageDlg(App(), MsgTransmissionFailed[Language], MsgDlgType::Error,
                                        MsgDlgButtons::YesNo);
  AnotherAttemptOrClose(answer);
}

void TFormMj::WMDeviceRejected(forms::Message& message) {
  Link.Disconnect();

  const char* text = MsgWrongDevice[Language];
  MsgDlgType kind = MsgDlgType::Error;
  switch (message.WParam) {
    case REJECT_SERIAL_NUMBER:
      text = MsgInvalidSerialNumber[Language];
      break;
    case REJECT_NOT_OLDER:
      text = (VersionMajor == 3 && VersionMinor == 5) ? MsgAlreadyUpdated[Language]
                                                      : MsgNewerInstalled[Language];
      kind = MsgDlgType::Information;
      break;
    case REJECT_VARIANT:
      text = MsgWrongVariant[Language];
      break;
    case REJECT_TOO_OLD:
      text = MsgIncompatibleFirmware[Language];
      break;
    default:
      break;  // REJECT_WRONG_DEVICE
  }
  const auto answer = forms::MessageDlg(
      App(), forms::Format(text, Link.DeviceName(), Link.DeviceName()), kind, MsgDlgButtons::YesNo);
  AnotherAttemptOrClose(answer);
}

void TFormMj::AnotherAttemptOrClose(forms::ModalResult answer) {
  if (answer == forms::ModalResult::Yes) {
    Step = 5;
    NextStep();  // step 6, ready for a new attempt or another device
  } else {
    Close();
  }
}
