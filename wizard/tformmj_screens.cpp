// The ten step screens. Each sets exactly its own list of properties, in
// order, and leaves every other as the design or an earlier screen left it.
#include "forms/text.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

using forms::Alignment;
using forms::Format;

namespace {

// Version that this update installs.
constexpr int kVersionMajor = 3;
constexpr int kVersionMinor = 5;

}  // namespace

std::string TFormMj::VersionHeading() const {
  return Format(TitleUpdateVersion[Language], kVersionMajor, kVersionMinor, Link.DeviceName());
}

void TFormMj::ShowStepCounter() {
  EditEtape.SetText(Format(StepCounter[Language], Step, kStepCount));
}

void TFormMj::ShowLanguageStep() {
  ButtonPrecedant.SetEnabled(false);
  ImageConnectAppareilaPC.SetVisible(false);
  LabelTitreEtape.SetCaption(Format(TitleUpdateDevice[Language], Link.DeviceName()));
  ShowStepCounter();
  SetCaption(VersionHeading());
  LabelLigne1.SetCaption(VersionHeading());
  LabelLigne1.SetAlignment(Alignment::Center);
  LabelLigne1.SetFontStyle(forms::kBold);
  LabelLigne1.SetVisible(true);
  LabelLigne2.SetCaption(LanguageHeading[Language]);
  LabelLigne2.SetAlignment(Alignment::Center);
  LabelLigne2.SetVisible(true);
  LabelLigne3.SetCaption(LanguagePrompt[Language]);
  LabelLigne3.SetVisible(true);
  LabelLigne4.SetVisible(false);
  LabelLigne5.SetVisible(false);
  LabelBarreProgression.SetCaption(WelcomeBenefits[Language]);
  LabelBarreProgression.SetFontStyle(forms::kItalic);
  LabelBarreProgression.SetFontSize(10);
  LabelBarreProgression.SetAlignment(Alignment::Center);
  LabelBarreProgression.SetVisible(true);
  ButtonAPropos.SetCaption(ButtonAbout[Language]);
  ButtonQuitter.SetCaption(ButtonQuit[Language]);
  ButtonPrecedant.SetCaption(ButtonPrevious[Language]);
  ButtonSuivant.SetCaption(ButtonNext[Language]);
  // The list stands just right of the instruction, wherever its text ends.
  ListBoxSelectLangPort.SetTop(LabelLigne3.Top() - 2);
  ListBoxSelectLangPort.SetHeight(8 * LabelLigne3.Height());
  ListBoxSelectLangPort.SetLeft(LabelLigne3.Left() +
                                TextWidth(LabelLigne3.Caption(), LabelLigne3.Font()) + 10);
  ListBoxSelectLangPort.SetStyle(forms::ListBoxStyle::OwnerDrawFixed);
  ListBoxSelectLangPort.ClearItems();
  ListBoxSelectLangPort.SetSorted(false);
  ListBoxSelectLangPort.AddItem(LanguageNames[0]);
  ListBoxSelectLangPort.AddItem(LanguageNames[1]);
  ListBoxSelectLangPort.SetItemIndex(Language);
  ListBoxSelectLangPort.SetVisible(true);
}

void TFormMj::ShowWelcomeStep() {
  ButtonPrecedant.SetEnabled(true);
  ImageConnectAppareilaPC.SetVisible(false);
  SetCaption(VersionHeading());
  ButtonQuitter.SetCaption(ButtonQuit[Language]);
  ButtonPrecedant.SetCaption(ButtonPrevious[Language]);
  ButtonSuivant.SetCaption(ButtonNext[Language]);
  ShowStepCounter();
  LabelTitreEtape.SetCaption(Format(TitleWelcome[Language], Link.DeviceName()));
  ButtonAPropos.SetCaption(ButtonAbout[Language]);
  LabelLigne1.SetCaption(VersionHeading());
  LabelLigne1.SetAlignment(Alignment::Center);
  LabelLigne1.SetFontStyle(forms::kBold);
  LabelLigne2.SetCaption(WelcomeGreeting[Language]);
  LabelLigne3.SetCaption(Format(WelcomeLatestUpdate[Language], Link.DeviceName()));
  LabelLigne4.SetCaption(WelcomePerformance[Language]);
  LabelBarreProgression.SetCaption(WelcomeBenefits[Language]);
  LabelBarreProgression.SetFontStyle(forms::kItalic);
  LabelBarreProgression.SetFontSize(10);
  LabelBarreProgression.SetAlignment(Alignment::Center);
  LabelLigne1.SetVisible(true);
  LabelLigne2.SetVisible(true);
  LabelLigne3.SetVisible(true);
  LabelLigne4.SetVisible(true);
  LabelLigne5.SetVisible(false);
  LabelBarreProgression.SetVisible(true);
  ListBoxSelectLangPort.SetVisible(false);
}

void TFormMj::ShowPreparationStep() {
  LabelTitreEtape.SetCaption(Format(TitlePreparation[Language], Link.DeviceName()));
  LabelLigne1.SetAlignment(Alignment::LeftJustify);
  LabelLigne1.SetFontStyle(forms::kPlain);
  LabelBarreProgression.SetFontStyle(forms::kPlain);
  LabelBarreProgression.SetFontSize(8);
  LabelBarreProgression.SetAlignment(Alignment::LeftJustify);
  LabelBarreProgression.SetVisible(false);
  LabelLigne1.SetCaption(Format(PreparationConnectCable[Language], Link.DeviceName()));
  LabelLigne1.SetVisible(true);
  LabelLigne2.SetVisible(false);
  LabelLigne3.SetVisible(false);
  LabelLigne4.SetVisible(false);
  LabelLigne5.SetVisible(false);
  ComboBoxLangueSel.SetVisible(false);
  // The left 15/24 of the picture: the device with its cable, without the PC.
  ImageConnectAppareilaPC.SetWidth(ImageWidth * 15 / 24);
  ButtonPrecedant.SetEnabled(true);
  ImageConnectAppareilaPC.SetVisible(true);
  ShowStepCounter();
  ListBoxSelectLangPort.SetVisible(false);
}

void TFormMj::ShowPcConnectionStep() {
  LabelTitreEtape.SetCaption(Format(TitleConnection[Language], Link.DeviceName()));
  ImageConnectAppareilaPC.SetWidth(ImageWidth);
  LabelLigne1.SetCaption(ConnectionConnectCable[Language]);
  LabelLigne1.SetVisible(true);
  LabelLigne2.SetVisible(false);
  LabelLigne3.SetVisible(false);
  LabelLigne4.SetVisible(false);
  LabelLigne5.SetVisible(false);
  ListBoxSelectLangPort.SetVisible(false);
  ImageConnectAppareilaPC.SetVisible(true);
  ShowStepCounter();
}

void TFormMj::ShowPortStep() {
  LabelTitreEtape.SetCaption(TitlePortChoice[Language]);
  ButtonQuitter.SetCaption(ButtonQuit[Language]);
  ImageConnectAppareilaPC.SetVisible(false);
  LabelLigne1.SetVisible(false);
  LabelLigne2.SetFontStyle(forms::kPlain);
  LabelLigne2.SetCaption(PortChoicePrompt[Language]);
  LabelLigne2.SetVisible(true);
  LabelLigne3.SetVisible(false);
  LabelLigne4.SetVisible(false);
  LabelLigne5.SetVisible(false);
  ListBoxSelectLangPort.SetVisible(true);
  ListBoxSelectLangPort.ClearItems();
  ListBoxSelectLangPort.SetSorted(true);
  if (PortList->Count() > 0) {
    ListBoxSelectLangPort.AssignItems(*PortList);
  } else {
    // The list box stays empty; a later showing lists the entry.
    PortList->Add(NoSerialPort[Language]);
  }
  ListBoxSelectLangPort.SetTop(LabelLigne2.Top() + 2 * LabelLigne2.Height());
  ListBoxSelectLangPort.SetHeight(8 * LabelLigne2.Height());
  ListBoxSelectLangPort.SetLeft((Width() - ListBoxSelectLangPort.Width()) / 2);
  ListBoxSelectLangPort.SetItemIndex(
      PreferredPort.empty() ? -1 : ListBoxSelectLangPort.Items().IndexOf(PreferredPort));
  ButtonSuivant.SetCaption(ButtonNext[Language]);
  ButtonPrecedant.SetCaption(ButtonPrevious[Language]);
  ShowStepCounter();
  ProgressBarProgrammation.SetVisible(false);
  LabelBarreProgression.SetVisible(false);
  ButtonPrecedant.SetVisible(true);
  ButtonSuivant.SetEnabled(true);
  TimerGestionSerie.SetEnabled(true);
  TimerGestionSerie.SetInterval(1000);
}

void TFormMj::ShowLaunchStep() {
  LabelTitreEtape.SetCaption(TitleCheckAndLaunch[Language]);
  ButtonSuivant.SetCaption(ButtonConnect[Language]);
  ButtonPrecedant.SetCaption(ButtonPrevious[Language]);
  ButtonQuitter.SetCaption(ButtonQuit[Language]);
  ButtonSuivant.SetVisible(true);
  ButtonSuivant.SetEnabled(true);
  LabelLigne1.SetCaption(Format(LaunchCheckConnected[Language], Link.DeviceName()));
  LabelLigne2.SetAlignment(Alignment::LeftJustify);
  LabelLigne2.SetCaption(Format(LaunchSwitchOnAfterConnect[Language], Link.DeviceName()));
  LabelLigne4.SetCaption(Format(LaunchClickConnect[Language], Link.DeviceName()));
  LabelLigne1.SetVisible(true);
  LabelLigne2.SetVisible(true);
  LabelLigne4.SetVisible(true);
  LabelLigne3.SetVisible(false);
  LabelLigne5.SetVisible(false);
  ComboBoxLangueSel.SetVisible(false);
  LabelBarreProgression.SetVisible(false);
  ProgressBarProgrammation.SetVisible(false);
  ShowStepCounter();
  ButtonQuitter.SetEnabled(true);
  ListBoxSelectLangPort.SetVisible(false);
}

void TFormMj::ShowPowerOnStep() {
  LabelLigne2.SetVisible(false);
  LabelLigne3.SetVisible(false);
  LabelLigne4.SetVisible(false);
  LabelLigne5.SetVisible(false);
  ComboBoxLangueSel.SetVisible(false);
  LabelTitreEtape.SetCaption(TitleWaitConnection[Language]);
  LabelLigne1.SetFontStyle(forms::kBold);
  LabelLigne1.SetCaption(Format(WaitSwitchOn[Language], Link.DeviceName()));
  ButtonPrecedant.SetCaption(ButtonCancel[Language]);
  ProgressBarProgrammation.SetPosition(0);
  ProgressBarProgrammation.SetMin(0);
  ProgressBarProgrammation.SetMax(20);
  ProgressBarProgrammation.SetStep(1);
  NextLine = 0;
  ProgressBarProgrammation.SetSmooth(false);
  ProgressBarProgrammation.SetVisible(false);
  ButtonSuivant.SetEnabled(false);
  // With no entry selected there is no port to name; SetPort then keeps its own.
  const int selected = ListBoxSelectLangPort.ItemIndex();
  SelectedPort = PortNumberOf(selected >= 0 ? ListBoxSelectLangPort.Items()[selected] : "");
  // A port still held from an earlier attempt (after Cancel, or a leave
  // exchange that failed) is let go, so the wake-up goes to the port chosen
  // now, on a fresh handle, rather than to the old one.
  if (Link.IsOpen()) Link.Close();
  Link.SetPort(SelectedPort);
  TimerGestionSerie.SetInterval(2250);
  TimerGestionSerie.SetEnabled(true);
  ShowStepCounter();
  ListBoxSelectLangPort.SetVisible(false);
}

void TFormMj::ShowDeviceCheckStep() {
  LabelLigne1.SetFontStyle(forms::kPlain);
  LabelTitreEtape.SetCaption(TitleDeviceCheck[Language]);
  ShowStepCounter();
  ProgressBarProgrammation.SetVisible(false);
  ButtonPrecedant.SetVisible(false);
  LabelBarreProgression.SetVisible(false);
  LabelLigne1.SetVisible(false);
  LabelLigne5.SetVisible(false);
  SubStep = 0;
  ButtonQuitter.SetEnabled(false);
  TimerGestionSerie.SetInterval(200);
  TimerGestionSerie.SetEnabled(true);
  ListBoxSelectLangPort.SetVisible(false);
}

void TFormMj::ShowProgrammingStep() {
  ProgressBarProgrammation.SetPosition(0);
  ProgressBarProgrammation.SetSmooth(true);
  ProgressBarProgrammation.SetStep(1);
  LabelTitreEtape.SetCaption(Format(TitleProgramming[Language], Link.DeviceName()));
  // A bar without rows yet reads 0 % rather than dividing by zero.
  const int maximum = ProgressBarProgrammation.Max();
  const double done = maximum > 0 ? 100.0 * ProgressBarProgrammation.Position() / maximum : 0.0;
  LabelBarreProgression.SetCaption(Format(ProgrammingProgress[Language], done));
  LabelLigne5.SetCaption(Format(ProgrammingTransmission[Language], Link.DeviceName()));
  LabelLigne5.SetVisible(true);
  ProgressBarProgrammation.SetVisible(true);
  LabelBarreProgression.SetVisible(true);
  TimerGestionSerie.SetInterval(100);
  TimerGestionSerie.SetEnabled(true);
  ShowStepCounter();
  ListBoxSelectLangPort.SetVisible(false);
}

void TFormMj::ShowResultStep() {
  LabelTitreEtape.SetCaption(TitleUpdateSucceeded[Language]);
  ButtonSuivant.SetVisible(false);
  ButtonQuitter.SetCaption(ButtonNo[Language]);
  ButtonPrecedant.SetCaption(ButtonYes[Language]);
  ButtonPrecedant.SetVisible(true);
  LabelBarreProgression.SetCaption(Format(SuccessUpdateAnother[Language], Link.DeviceName()));
  ProgressBarProgrammation.SetVisible(false);
  ButtonQuitter.SetEnabled(true);
  LabelLigne1.SetVisible(false);
  LabelLigne2.SetVisible(false);
  LabelLigne3.SetVisible(false);
  LabelLigne4.SetVisible(false);
  LabelLigne5.SetVisible(false);
  ShowStepCounter();
  ListBoxSelectLangPort.SetVisible(false);
}
