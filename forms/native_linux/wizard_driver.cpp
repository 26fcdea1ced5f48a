#include "forms/native_linux/wizard_driver.h"

#include <array>
#include <string>
#include <utility>

#include "app/exit_status.h"
#include "forms/text.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

namespace {

// The boxes that end an attempt, as the wizard words them, and what each means.
const std::array<std::pair<const TextPair*, int>, 8> kOutcomeTexts = {{
    {&MsgConnectionFailed, kExitPowerOnTimeout},
    {&MsgTransmissionFailed, kExitTransmissionFailure},
    {&MsgWrongDevice, kExitWrongDevice},
    {&MsgInvalidSerialNumber, kExitSerialNumber},
    {&MsgAlreadyUpdated, kExitNotOlder},
    {&MsgNewerInstalled, kExitNotOlder},
    {&MsgWrongVariant, kExitWrongVariant},
    {&MsgIncompatibleFirmware, kExitTooOld},
}};

}  // namespace

WizardDriver::WizardDriver(int port, platform::Clock& clock, std::ostream& errors)
    : port_(port), clock_(clock), errors_(errors), launching_(port != 0), status_(kExitQuit) {}

bool WizardDriver::Act(forms::Form& form, forms::TerminalBackend& terminal) {
  auto* wizard = dynamic_cast<TFormMj*>(&form);
  if (!launching_ || wizard == nullptr) return false;
  bool acted = false;
  switch (wizard->Step) {
    case 1:
    case 2:
    case 3:
    case 4:
      acted = terminal.Click(wizard->ButtonSuivant);
      break;
    case 5: {
      const forms::StringList& entries = wizard->ListBoxSelectLangPort.Items();
      for (int i = 0; i < entries.Count(); ++i) {
        if (TFormMj::PortNumberOf(entries[i]) != port_) continue;
        acted = wizard->ListBoxSelectLangPort.ItemIndex() != i
                    ? terminal.SelectItem(wizard->ListBoxSelectLangPort, i)
                    : terminal.Click(wizard->ButtonSuivant);
        break;
      }
      if (acted) break;
      // The port list is read again every second: give the port a moment to appear.
      const std::uint32_t now = clock_.GetTickCount();
      if (!port_wait_start_) port_wait_start_ = now;
      if (now - *port_wait_start_ < kPortWaitMs) return false;
      errors_ << "COM" << port_ << ": no such serial port\n";
      status_ = kExitStartUpError;
      launching_ = false;
      wizard->Close();
      return true;
    }
    case 6:
      acted = terminal.Click(wizard->ButtonSuivant);
      launching_ = false;
      break;
    default:
      break;
  }
  // A step it cannot go through is left to the user.
  if (!acted) launching_ = false;
  return acted;
}

void WizardDriver::Shown(forms::Form& form) {
  const auto* wizard = dynamic_cast<const TFormMj*>(&form);
  if (wizard == nullptr) return;
  if (wizard->Step == 7) status_ = kExitQuit;  // an attempt begins; quitting now cuts it short
  if (wizard->Step == 10) status_ = kExitUpdated;
}

void WizardDriver::Answered(const forms::DialogRequest& request, forms::ModalResult /*answer*/) {
  const char* device = CP04::DeviceName();
  for (const auto& [texts, status] : kOutcomeTexts) {
    for (const char* text : *texts) {
      if (request.text == forms::Format(text, device, device)) {
        status_ = status;
        return;
      }
    }
  }
  // The application's own error box, captioned with its title.
  if (request.caption != forms::DialogCaption(forms::MsgDlgType::Error) &&
      request.caption != forms::DialogCaption(forms::MsgDlgType::Information)) {
    status_ = kExitStartUpError;
  }
}

bool WizardDriver::MayClose(forms::Form& form) {
  const auto* wizard = dynamic_cast<const TFormMj*>(&form);
  if (launching_ || wizard == nullptr) return !launching_;
  // Steps 7 to 9 go on by themselves; step 10 ends the programming on its first tick.
  if (wizard->Step >= 7 && wizard->Step <= 9) return false;
  if (wizard->Step == 10) return !wizard->TimerGestionSerie.Enabled();
  return true;
}
