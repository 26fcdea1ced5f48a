// Moving between the steps, the language change and the About button.
#include "about/Boiteapropos.h"
#include "wizard/Tformmj.h"

void TFormMj::ShowCurrentStep() {
  switch (Step) {
    case 1:
      ShowLanguageStep();
      break;
    case 2:
      ShowWelcomeStep();
      break;
    case 3:
      ShowPreparationStep();
      break;
    case 4:
      ShowPcConnectionStep();
      break;
    case 5:
      ShowPortStep();
      break;
    case 6:
      ShowLaunchStep();
      break;
    case 7:
      ShowPowerOnStep();
      break;
    case 8:
      ShowDeviceCheckStep();
      break;
    case 9:
      ShowProgrammingStep();
      break;
    case 10:
      ShowResultStep();
      break;
    default:
      break;  // 0 and 11 show nothing
  }
}

void TFormMj::NextStep() {
  ++Step;
  // Step 6 needs a chosen port; without one the wizard silently stays on step 5.
  if (Step == 6 && ListBoxSelectLangPort.ItemIndex() < 0) {
    --Step;
    return;
  }
  ShowCurrentStep();
}

void TFormMj::ButtonSuivantClick(forms::Component* /*sender*/) {
  NextStep();
}

void TFormMj::ButtonPrecedantClick(forms::Component* /*sender*/) {
  --Step;
  switch (Step) {
    case 6:  // Cancel on step 7: the link stays as the power-on wait left it
      TimerGestionSerie.SetEnabled(false);
      ShowLaunchStep();
      break;
    case 9:  // Yes on step 10: another device
      Step = 6;
      Link.Disconnect();
      ShowLaunchStep();
      break;
    default:
      ShowCurrentStep();
      break;
  }
}

void TFormMj::ButtonQuitterClick(forms::Component* /*sender*/) {
  Close();
}

void TFormMj::SetLanguage(std::int32_t language) {
  if (language == Language || language < 0 || language >= 2) return;
  Language = language;
  ShowCurrentStep();
}

void TFormMj::ListBoxSelectLangPortClick(forms::Component* /*sender*/) {
  const int selected = ListBoxSelectLangPort.ItemIndex();
  if (Step == 1) {
    SetLanguage(selected);
  } else if (Step == 5) {
    SelectedPort = PortNumberOf(selected >= 0 ? ListBoxSelectLangPort.Items()[selected] : "");
  }
}

void TFormMj::ComboBoxLangueSelSelect(forms::Component* /*sender*/) {
  SetLanguage(ComboBoxLangueSel.ItemIndex());
}

void TFormMj::ButtonAProposClick(forms::Component* /*sender*/) {
  if (FormAPropos == nullptr) return;
  FormAPropos->SetLanguage(Language);
  FormAPropos->ShowModal();
}
