// Construction and destruction of the wizard window, its design properties
// and the program-wide reference to it.
#include "wizard/Tformmj.h"

TFormMj* FormMj = nullptr;

TFormMj::TFormMj(forms::Application& application, platform::Services& services)
    : forms::Form(application, "FormMj"),
      Image1(this, "Image1"),
      LabelTitreEtape(this, "LabelTitreEtape"),
      LabelLigne1(this, "LabelLigne1"),
      LabelLigne2(this, "LabelLigne2"),
      ImageConnectAppareilaPC(this, "ImageConnectAppareilaPC"),
      LabelLigne3(this, "LabelLigne3"),
      LabelLigne4(this, "LabelLigne4"),
      LabelLigne5(this, "LabelLigne5"),
      LabelBarreProgression(this, "LabelBarreProgression"),
      ProgressBarProgrammation(this, "ProgressBarProgrammation"),
      ListBoxSelectLangPort(this, "ListBoxSelectLangPort"),
      ComboBoxLangueSel(this, "ComboBoxLangueSel"),
      EditEtape(this, "EditEtape"),
      ButtonAPropos(this, "ButtonAPropos"),
      ButtonQuitter(this, "ButtonQuitter"),
      ButtonPrecedant(this, "ButtonPrecedant"),
      ButtonSuivant(this, "ButtonSuivant"),
      TimerGestionSerie(this, "TimerGestionSerie"),
      Link(services.serial, services.clock),
      port_map_(services.port_map) {
  ApplyDesign();
  PreferredPort.clear();
  Step = 1;
  Language = 0;
  PortList = std::make_unique<forms::StringList>();
  PortList->SetSorted(true);
  ImageWidth = ImageConnectAppareilaPC.Width();
  ScanSerialPorts();
  ShowLanguageStep();
  TimerGestionSerie.SetInterval(1000);
  TimerGestionSerie.SetEnabled(true);
  ListBoxSelectLangPort.SetMultiSelect(false, false);
  ListBoxSelectLangPort.SetSorted(false);
}

// Link (which leaves the loader and closes the port) and PreferredPort go
// with the members; PortList is freed by FormDestroy when the application
// destroys the form.
TFormMj::~TFormMj() = default;

void TFormMj::FormDestroy(forms::Component* /*sender*/) {
  PortList.reset();
}

void TFormMj::ApplyDesign() {
  SetClientSize(575, 421);
  SetBorderStyle(forms::BorderStyle::Single);
  SetBorderIcons(forms::BorderIcons{.system_menu = false, .minimize = true, .maximize = false});
  SetPosition(forms::FormPosition::ScreenCenter);
  SetColor(forms::Color::ButtonFace);
  SetIcon("app_icon");
  OnDestroy = [this](forms::Component* sender) { FormDestroy(sender); };

  Image1.SetBounds(8, 8, 553, 57);
  Image1.SetCenter(true);
  Image1.SetProportional(true);
  Image1.SetPicture("logo_banner");

  LabelTitreEtape.SetBounds(8, 72, 561, 20);
  LabelTitreEtape.SetAlignment(forms::Alignment::Center);
  LabelTitreEtape.SetAutoSize(false);
  LabelTitreEtape.SetFont(forms::FontSpec{.size = 12, .style = forms::kBold});

  // Text lines: fixed size; all but line 5 hidden until a screen shows them.
  struct Line {
    forms::Label& label;
    int top;
    int width;
    bool visible;
  };
  for (const Line& line : {Line{LabelLigne1, 112, 553, false}, Line{LabelLigne2, 152, 553, false},
                           Line{LabelLigne3, 184, 561, false}, Line{LabelLigne4, 216, 553, false},
                           Line{LabelLigne5, 248, 553, true}}) {
    line.label.SetBounds(8, line.top, line.width, 13);
    line.label.SetAutoSize(false);
    line.label.SetVisible(line.visible);
  }

  ImageConnectAppareilaPC.SetBounds(32, 144, 362, 193);
  ImageConnectAppareilaPC.SetTransparent(true);
  ImageConnectAppareilaPC.SetEnabled(false);
  ImageConnectAppareilaPC.SetPicture("connect_device_pc");

  LabelBarreProgression.SetBounds(8, 296, 553, 17);
  LabelBarreProgression.SetAutoSize(false);
  LabelBarreProgression.SetFontStyle(forms::kBold);
  LabelBarreProgression.SetVisible(false);

  ProgressBarProgrammation.SetBounds(16, 320, 545, 33);
  ProgressBarProgrammation.SetMin(0);
  ProgressBarProgrammation.SetMax(100);
  ProgressBarProgrammation.SetStep(1);
  ProgressBarProgrammation.SetVisible(false);

  ListBoxSelectLangPort.SetBounds(408, 144, 153, 121);
  ListBoxSelectLangPort.SetItemHeight(13);
  ListBoxSelectLangPort.OnClick = [this](forms::Component* sender) {
    ListBoxSelectLangPortClick(sender);
  };

  ComboBoxLangueSel.SetBounds(656, 40, 145, 21);
  ComboBoxLangueSel.OnSelect = [this](forms::Component* sender) {
    ComboBoxLangueSelSelect(sender);
  };

  EditEtape.SetBounds(24, 384, 140, 21);
  EditEtape.SetReadOnly(true);
  EditEtape.SetTabStop(false);
  EditEtape.SetFontStyle(forms::kBold);
  EditEtape.SetColor(forms::Color::ButtonFace);

  ButtonAPropos.SetBounds(187, 382, 75, 25);
  ButtonAPropos.OnClick = [this](forms::Component* sender) { ButtonAProposClick(sender); };
  ButtonQuitter.SetBounds(299, 382, 75, 25);
  ButtonQuitter.SetHint("permet de quitter la mise \xE0 jours", true);
  ButtonQuitter.OnClick = [this](forms::Component* sender) { ButtonQuitterClick(sender); };
  ButtonPrecedant.SetBounds(411, 382, 75, 25);
  ButtonPrecedant.OnClick = [this](forms::Component* sender) { ButtonPrecedantClick(sender); };
  ButtonSuivant.SetBounds(491, 382, 75, 25);
  ButtonSuivant.OnClick = [this](forms::Component* sender) { ButtonSuivantClick(sender); };

  int order = 0;
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &ButtonQuitter, &ButtonPrecedant, &ButtonSuivant, &EditEtape, &ProgressBarProgrammation,
           &ButtonAPropos, &ComboBoxLangueSel, &ListBoxSelectLangPort}) {
    control->SetTabOrder(order++);
  }

  TimerGestionSerie.SetInterval(1000);
  TimerGestionSerie.OnTimer = [this](forms::Component* sender) { TimerGestionSerieTimer(sender); };
}
