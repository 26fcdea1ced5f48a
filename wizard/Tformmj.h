#pragma once
// TFormMj: the wizard window, the home of the program's state for the whole
// run. It leads the user through ten steps, one screen at a time; a timer
// drives the serial-port discovery and the update, and the update reports
// back through messages posted to the form's own window.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "forms/application.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/progress_bar.h"
#include "forms/string_list.h"
#include "forms/timer.h"
#include "link/Com_p04.h"
#include "platform/services.h"

// Messages the update posts to the form (WM_USER + n).
inline constexpr unsigned WM_LINK_FAILURE = 1025;      // wParam: the link's result code
inline constexpr unsigned WM_POWER_ON_TIMEOUT = 1029;  // wParam: 0
inline constexpr unsigned WM_STEP_DONE = 1030;         // wParam: 0
inline constexpr unsigned WM_DEVICE_REJECTED = 1031;   // wParam: a REJECT_* reason

// Why the device check refused the device (wParam of WM_DEVICE_REJECTED).
inline constexpr std::uintptr_t REJECT_WRONG_DEVICE = 0;
inline constexpr std::uintptr_t REJECT_SERIAL_NUMBER = 1;
inline constexpr std::uintptr_t REJECT_NOT_OLDER = 2;
inline constexpr std::uintptr_t REJECT_VARIANT = 3;
inline constexpr std::uintptr_t REJECT_TOO_OLD = 6;

class TFormMj : public forms::Form {
 public:
  static constexpr int kStepCount = 10;
  static constexpr int kImageRows = 2000;

  TFormMj(forms::Application& application, platform::Services& services);
  ~TFormMj() override;

  // Components, in the order of the window's design.
  forms::Image Image1;
  forms::Label LabelTitreEtape;
  forms::Label LabelLigne1;
  forms::Label LabelLigne2;
  forms::Image ImageConnectAppareilaPC;
  forms::Label LabelLigne3;
  forms::Label LabelLigne4;
  forms::Label LabelLigne5;
  forms::Label LabelBarreProgression;
  forms::ProgressBar ProgressBarProgrammation;
  forms::ListBox ListBoxSelectLangPort;
  forms::ComboBox ComboBoxLangueSel;
  forms::Edit EditEtape;
  forms::Button ButtonAPropos;
  forms::Button ButtonQuitter;
  forms::Button ButtonPrecedant;
  forms::Button ButtonSuivant;
  forms::Timer TimerGestionSerie;

  // The form's own fields, in declaration order; every one starts from zero.
  std::int32_t Language = 0;                    // 0 French, 1 English
  std::unique_ptr<forms::StringList> PortList;  // sorted serial port entries
  std::string PreferredPort;                    // the maker's adapter's entry, or empty
  std::int32_t Step = 0;                        // step on screen, 1 to 10
  std::int32_t SubStep = 0;                     // stage of the device check
  std::int32_t ImageWidth = 0;                  // full width of the connection picture
  std::int32_t SelectedPort = 0;                // COM number of the chosen entry
  std::uint32_t SerialNumber = 0;               // read by the device check
  std::int32_t Variant = 0;                     // hardware variant, picks the image
  CP04 Link;                                    // the device link, as long as the form
  std::uint32_t VersionMajor = 0;               // firmware version read from the device
  std::uint32_t VersionMinor = 0;
  std::array<const char*, kImageRows> ImageLines{};  // rows of the selected image
  std::int32_t NextLine = 0;                         // next image row to program

  // Navigation.
  void NextStep();
  void SetLanguage(std::int32_t language);
  void ButtonSuivantClick(forms::Component* sender);
  void ButtonPrecedantClick(forms::Component* sender);
  void ButtonQuitterClick(forms::Component* sender);
  void ListBoxSelectLangPortClick(forms::Component* sender);
  void ComboBoxLangueSelSelect(forms::Component* sender);
  void ButtonAProposClick(forms::Component* sender);
  void FormDestroy(forms::Component* sender);

  // The step screens, steps 1 to 10.
  void ShowLanguageStep();
  void ShowWelcomeStep();
  void ShowPreparationStep();
  void ShowPcConnectionStep();
  void ShowPortStep();
  void ShowLaunchStep();
  void ShowPowerOnStep();
  void ShowDeviceCheckStep();
  void ShowProgrammingStep();
  void ShowResultStep();

  // Serial ports: rebuilds PortList from the port map; true when it changed.
  bool ScanSerialPorts();
  // COM number in a port entry: -1 without "COM", -2 without a usable number after it.
  static std::int32_t PortNumberOf(const std::string& entry);

  // The timer's tick: the work of the current step.
  void TimerGestionSerieTimer(forms::Component* sender);

  // Outcomes of the update, and the message map that routes them.
  void WMLinkFailure(forms::Message& message);
  void WMPowerOnTimeout(forms::Message& message);
  void WMStepDone(forms::Message& message);
  void WMDeviceRejected(forms::Message& message);
  void Dispatch(forms::Message& message) override;

 private:
  // The update process, a piece per tick (see TimerGestionSerieTimer).
  void RefreshPortListBox();
  void WaitForPowerOn();
  void CheckDevice();
  bool ChooseImage();
  void ProgramNextRow();
  void EndOfProgramming();
  void Report(unsigned message, std::uintptr_t w_param);
  void StopAndReport(unsigned message, std::uintptr_t w_param);
  void StopAndReportLinkFailure();
  void AnotherAttemptOrClose(forms::ModalResult answer);

  void ApplyDesign();
  void ShowStepCounter();
  void ShowCurrentStep();
  std::string VersionHeading() const;

  platform::SerialPortMap& port_map_;
};

// The wizard, as start-up created it.
extern TFormMj* FormMj;
