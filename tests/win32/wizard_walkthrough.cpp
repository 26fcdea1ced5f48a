// The Windows program's start-up and wizard on the Win32 backend, with a
// simulated device on COM4 in process, driven through the real controls
// (button clicks, list selection notifications, keys through the dialog
// manager, message box buttons) from a thread timer. At each checkpoint the
// native windows are compared with the component model; with a folder
// argument, each checkpoint also waits there for a screenshot:
//   writes NN-name.ready and goes on once NN-name.done exists.
// Exit status: the number of differences and failed checks (0: all well).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "about/Boiteapropos.h"
#include "app/run_program.h"
#include "forms/text.h"
#include "forms/win32/wide_text.h"
#include "forms/win32/win32_backend.h"
#include "platform/memory_port_map.h"
#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"
#include "tests/support/fake_system_services.h"
#include "tests/win32/model_check.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

namespace {

using forms::win32::Cp1252ToWide;
using forms::win32::WideToCp1252;

constexpr int kDeviceCom = 4;
constexpr DWORD kSettleMs = 400;         // lets the windows repaint before a look
constexpr DWORD kStageLimitMs = 120000;  // the power-on wait alone takes 45 s
constexpr UINT kDriverPeriodMs = 50;
constexpr int kMessageBoxTextId = 0xFFFF;

struct Stage {
  std::string shot;  // checkpoint name; empty: no checkpoint
  std::function<bool()> ready;
  std::function<void()> act;
};

std::string TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return WideToCp1252(buffer);
}

// The visible message box of this thread, if one is open.
HWND OpenMessageBox() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM param) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (std::wstring(name) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class Walkthrough {
 public:
  Walkthrough(forms::win32::Win32Backend& backend, sim::SimulatedSerial& serial,
              kst_test::FakeSystemServices& system, std::string shots)
      : backend_(backend), serial_(serial), system_(system), shots_(std::move(shots)) {
    BuildStages();
  }

  void Start() {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, kDriverPeriodMs,
                      [](HWND, UINT, UINT_PTR, DWORD) { current_->Tick(); });
    stage_started_ = GetTickCount();
  }

  int Finish() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
    if (stage_ < stages_.size()) Fail("the walk stopped before stage " + std::to_string(stage_));
    std::cout << (failures_ == 0 ? "walkthrough: all " : "walkthrough: FAILED, ")
              << (failures_ == 0 ? std::to_string(stages_.size()) + " stages passed"
                                 : std::to_string(failures_) + " problems")
              << "\n";
    return failures_;
  }

 private:
  HWND Native(const forms::Component& component) const { return backend_.NativeWindow(component); }
  void Fail(const std::string& what) {
    std::cout << "stage " << stage_ << ": " << what << "\n";
    ++failures_;
  }
  void Check(bool holds, const std::string& what) {
    if (!holds) Fail(what);
  }

  // User actions, posted so that they run from the program's own loop.
  void Click(const forms::Button& button) { PostMessageW(Native(button), BM_CLICK, 0, 0); }
  void SelectItem(const forms::ListBox& list, int index) {
    HWND hwnd = Native(list);
    SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
  }
  void ClickLabel(const forms::Label& label) {
    PostMessageW(Native(label), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(Native(label), WM_LBUTTONUP, 0, 0);
  }
  void Key(UINT msg, WPARAM key) { PostMessageW(GetFocus(), msg, key, 0); }
  void AnswerBox(int button) {
    if (HWND box = OpenMessageBox()) PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
  }

  void CheckBox(const char* caption, const std::vector<std::pair<int, const char*>>& buttons,
                const std::string& text) {
    HWND box = OpenMessageBox();
    Check(TextOf(box) == caption, "message box caption '" + TextOf(box) + "'");
    for (const auto& [id, label] : buttons) {
      Check(TextOf(GetDlgItem(box, id)) == label,
            std::string("message box button '") + TextOf(GetDlgItem(box, id)) + "'");
    }
    const std::string shown = TextOf(GetDlgItem(box, kMessageBoxTextId));
    Check(shown == text, "message box text '" + shown + "'");
    Check(!IsWindowEnabled(Native(*FormMj)), "the wizard takes input behind the message box");
  }

  void CheckWindowDesign() {
    HWND wizard = Native(*FormMj);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(wizard, GWL_STYLE));
    Check((style & WS_CAPTION) == WS_CAPTION, "wizard without a caption");
    Check((style & (WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0,
          "wizard with a system menu, a sizing frame or a maximize box");
    RECT rect{};
    GetWindowRect(wizard, &rect);
    const int dx = (rect.left + rect.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2;
    const int dy = (rect.top + rect.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2;
    Check(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1, "wizard not centred on the screen");
    Check(GetFocus() == Native(FormMj->ButtonQuitter), "focus not on Quit, first in tab order");
    CheckTooltip(FormMj->ButtonQuitter);
  }

  void CheckTooltip(const forms::Button& button) {
    HWND tooltip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
          wchar_t name[32] = {};
          GetClassNameW(hwnd, name, 32);
          if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
          *reinterpret_cast<HWND*>(param) = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&tooltip));
    wchar_t text[128] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = Native(*FormMj);
    info.uId = reinterpret_cast<UINT_PTR>(Native(button));
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    Check(WideToCp1252(text) == button.Hint(),
          "tooltip of Quit reads '" + WideToCp1252(text) + "'");
  }

  void CompareForms() {
    for (const forms::Form* form :
         {static_cast<forms::Form*>(FormMj), static_cast<forms::Form*>(FormAPropos)}) {
      if (form == nullptr) continue;
      std::ostringstream differences;
      const int count = kst_test::CompareWithModel(backend_, *form, differences);
      if (count > 0) Fail("native windows differ from the model:\n" + differences.str());
    }
  }

  std::string ShotPath(const char* suffix) const {
    char number[8];
    std::snprintf(number, sizeof number, "%02d-", shot_number_);
    return shots_ + "\\" + number + stages_[stage_].shot + suffix;
  }

  void Tick() {
    if (busy_) return;
    busy_ = true;
    Advance();
    busy_ = false;
  }

  void Advance() {
    if (stage_ >= stages_.size() || FormMj == nullptr) return;
    const DWORD now = GetTickCount();
    Stage& stage = stages_[stage_];
    if (!stage.ready()) {
      ready_since_ = 0;
      if (now - stage_started_ > kStageLimitMs) {
        Fail("timed out waiting" + (stage.shot.empty() ? std::string() : " for " + stage.shot));
        Abort();
      }
      return;
    }
    if (ready_since_ == 0) ready_since_ = now;
    if (now - ready_since_ < kSettleMs) return;
    if (!stage.shot.empty()) {
      if (!shot_requested_) {
        CompareForms();
        shot_requested_ = true;
        if (!shots_.empty()) {
          std::ofstream(ShotPath(".ready")) << "\n";
          return;
        }
      } else if (GetFileAttributesA(ShotPath(".done").c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
      }
      ++shot_number_;
      shot_requested_ = false;
    }
    if (stage.act) stage.act();
    ++stage_;
    ready_since_ = 0;
    stage_started_ = now;
  }

  // Ends the program from wherever it is stuck.
  void Abort() {
    stage_ = stages_.size() + 1;  // counts as not finished
    AnswerBox(IDNO);
    AnswerBox(IDOK);
    if (FormAPropos != nullptr && FormAPropos->Visible()) FormAPropos->Close();
    FormMj->Close();
  }

  void BuildStages() {
    TFormMj* const& w = FormMj;  // set once start-up has created the wizard
    const auto step = [&w](int n) { return [&w, n] { return w != nullptr && w->Step == n; }; };
    const char* const name = CP04::DeviceName();
    stages_ = {
        {"step1-fr", [&w] { return w != nullptr && w->Visible(); },
         [this, &w] {
           CheckWindowDesign();
           SelectItem(w->ListBoxSelectLangPort, 1);
         }},
        {"step1-en", [&w] { return w->Language == 1; },
         [this, &w] { SelectItem(w->ListBoxSelectLangPort, 0); }},
        // Tab from Quit skips the disabled Previous button.
        {"", [&w] { return w->Language == 0; }, [this] { Key(WM_KEYDOWN, VK_TAB); }},
        {"", [this, &w] { return GetFocus() == Native(w->ButtonSuivant); },
         [this, &w] { Click(w->ButtonSuivant); }},
        // "&Suivant": the mnemonic letter alone, with the focus on a button.
        {"step2", step(2), [this] { Key(WM_CHAR, 's'); }},
        {"step3", step(3), [this, &w] { Click(w->ButtonSuivant); }},
        {"step4", step(4), [this, &w] { Click(w->ButtonSuivant); }},
        {"step5", [&w] { return w->Step == 5 && w->ListBoxSelectLangPort.ItemIndex() >= 0; },
         [this, &w] { Click(w->ButtonSuivant); }},
        {"step6", step(6), [this, &w] { Click(w->ButtonAPropos); }},
        // The about box, modal and centred over the wizard; Enter presses OK.
        {"about", [] { return FormAPropos != nullptr && FormAPropos->Visible(); },
         [this, &w] {
           HWND about = Native(*FormAPropos);
           RECT a{}, b{};
           GetWindowRect(about, &a);
           GetWindowRect(Native(*w), &b);
           const int dx = (a.left + a.right) / 2 - (b.left + b.right) / 2;
           const int dy = (a.top + a.bottom) / 2 - (b.top + b.bottom) / 2;
           Check(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1, "about box not centred on the wizard");
           Check(!IsWindowEnabled(Native(*w)), "the wizard takes input behind the about box");
           Check(GetFocus() == Native(FormAPropos->ButtonOk), "focus not on OK in the about box");
           ClickLabel(FormAPropos->LabelNomSite);
           ClickLabel(FormAPropos->LabelMel);
         }},
        // The link labels hand their URLs to the system; the box stays open.
        {"", [this] { return system_.opened_urls.size() == 2; },
         [this] {
           Check(system_.opened_urls[0] == WebSiteAddress,
                 "web site URL " + system_.opened_urls[0]);
           Check(system_.opened_urls[1] == MailTarget, "mail URL " + system_.opened_urls[1]);
           Check(FormAPropos->Visible(), "a link label closed the about box");
           Key(WM_KEYDOWN, VK_RETURN);
         }},
        {"", [&w] { return !FormAPropos->Visible(); },
         [this, &w] {
           Check(IsWindowEnabled(Native(*w)) != 0, "the wizard stays disabled after the about box");
           Click(w->ButtonSuivant);  // Connection
         }},
        {"step7", step(7), nullptr},
        {"step8", step(8), nullptr},
        {"step9",
         [&w] {
           const auto& bar = w->ProgressBarProgrammation;
           return w->Step == 9 && bar.Position() * 3 >= bar.Max();
         },
         nullptr},
        {"step10", [&w] { return w->Step == 10 && !w->TimerGestionSerie.Enabled(); },
         [this, &w] {
           const auto& data = serial_.Device(kDeviceCom).data();
           Check(data[sim::kVersionMajorAddress] == 3 && data[sim::kVersionMinorAddress] == 5,
                 "the device does not hold version 3.5 after the update");
           Click(w->ButtonPrecedant);  // Yes: another device
         }},
        // The same device again: it already has this update.
        {"", step(6), [this, &w] { Click(w->ButtonSuivant); }},
        {"already-updated-box", [] { return OpenMessageBox() != nullptr; },
         [this, name] {
           CheckBox("Information", {{IDYES, "&Oui"}, {IDNO, "&Non"}},
                    forms::Format(MsgAlreadyUpdated[0], name, name));
           AnswerBox(IDYES);
         }},
        // A device that stays silent: the power-on wait runs out.
        {"", [&w] { return w->Step == 6 && OpenMessageBox() == nullptr; },
         [this, &w] {
           serial_.Device(kDeviceCom).faults().silent = true;
           Click(w->ButtonSuivant);
         }},
        {"power-on-timeout-box", [] { return OpenMessageBox() != nullptr; },
         [this, name] {
           CheckBox("Erreur", {{IDOK, "OK"}}, forms::Format(MsgConnectionFailed[0], name, name));
           AnswerBox(IDOK);
         }},
        {"step5-after-timeout", [&w] { return w->Step == 5 && OpenMessageBox() == nullptr; },
         [this, &w] { Click(w->ButtonQuitter); }},
    };
  }

  static inline Walkthrough* current_ = nullptr;  // the thread timer's procedure has no data

  forms::win32::Win32Backend& backend_;
  sim::SimulatedSerial& serial_;
  kst_test::FakeSystemServices& system_;
  std::string shots_;
  std::vector<Stage> stages_;
  std::size_t stage_ = 0;
  int shot_number_ = 1;
  bool shot_requested_ = false;
  bool busy_ = false;
  DWORD ready_since_ = 0;
  DWORD stage_started_ = 0;
  UINT_PTR timer_ = 0;
  int failures_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  platform::VirtualClock clock;
  sim::SimulatedSerial serial{clock};
  platform::MemoryPortMap port_map;
  kst_test::FakeSystemServices system;
  port_map.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}});
  serial.AddDevice(kDeviceCom);
  platform::Services services{serial, clock, port_map, system};

  forms::win32::Win32Backend backend(GetModuleHandleW(nullptr));
  Walkthrough walk(backend, serial, system, argc > 1 ? argv[1] : "");
  walk.Start();
  RunProgram(backend, services);
  return walk.Finish();
}
