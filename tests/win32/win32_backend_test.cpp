// The Win32 backend on real windows (under Wine on a virtual display):
// posted form messages, timer ticks, the message box's own loop, errors
// escaping handlers, Enter through the dialog manager; and the pure helpers.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h renames PostMessage to PostMessageA; here it is the form library's.
#undef PostMessage

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/button.h"
#include "forms/message_dlg.h"
#include "forms/timer.h"
#include "forms/win32/picture.h"
#include "forms/win32/wide_text.h"
#include "forms/win32/win32_backend.h"

namespace {

using forms::ModalResult;

constexpr unsigned kFirstFormMessage = 1025;  // WM_USER + 1, the dialog manager's DM_SETDEFID
constexpr unsigned kSecondFormMessage = 1030;
constexpr int kMessageBoxTextId = 0xFFFF;

std::string TextOf(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return forms::win32::WideToCp1252(buffer);
}

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

// A form with a default button and a fast timer; each test scripts the ticks.
class ProbeForm : public forms::Form {
 public:
  explicit ProbeForm(forms::Application& application)
      : forms::Form(application, "ProbeForm"), Ok(this, "Ok"), Ticker(this, "Ticker") {
    SetClientSize(240, 120);
    SetBorderStyle(forms::BorderStyle::Single);
    SetPosition(forms::FormPosition::ScreenCenter);
    Ok.SetBounds(80, 80, 75, 25);
    Ok.SetCaption("&Ok");
    Ok.SetDefault(true);
    Ok.OnClick = [this](forms::Component*) {
      events.push_back("click");
      if (on_click) on_click();
    };
    Ticker.SetInterval(20);
    Ticker.OnTimer = [this](forms::Component*) {
      ++ticks;
      if (on_tick) on_tick();
    };
  }

  void Dispatch(forms::Message& message) override {
    events.push_back("message " + std::to_string(message.Msg));
  }

  forms::Button Ok;
  forms::Timer Ticker;
  std::vector<std::string> events;
  int ticks = 0;
  std::function<void()> on_tick;
  std::function<void()> on_click;
};

class Win32BackendTest : public ::testing::Test {
 protected:
  Win32BackendTest() {
    app.SetTitle("Probe");
    app.CreateForm(form);
  }
  // Runs the program's loop; gives up (failing) after a few seconds.
  void Run() {
    const DWORD start = GetTickCount();
    const auto script = form->on_tick;
    form->on_tick = [this, start, script] {
      if (GetTickCount() - start > 10000) {
        ADD_FAILURE() << "the loop did not end in time";
        form->Close();
        return;
      }
      if (script) script();
    };
    app.Run();
  }
  HWND Native(const forms::Component& component) { return backend.NativeWindow(component); }

  forms::win32::Win32Backend backend{GetModuleHandleW(nullptr)};
  forms::Application app{backend};
  ProbeForm* form = nullptr;
};

TEST_F(Win32BackendTest, PostedMessagesReachDispatchInOrderBeforeTheNextTick) {
  form->on_tick = [this] {
    form->events.push_back("tick");
    form->Close();
  };
  forms::PostMessage(*form, kFirstFormMessage, 7);
  forms::PostMessage(*form, kSecondFormMessage, 0);
  Run();
  EXPECT_EQ(form->events, (std::vector<std::string>{"message 1025", "message 1030", "tick"}));
}

TEST_F(Win32BackendTest, MessageBoxKeepsTicksAndMessagesGoingAndShowsFrenchButtons) {
  int ticks_while_open = 0;
  std::string caption, text, yes, no;
  ModalResult answer = ModalResult::None;
  bool asked = false;
  form->on_tick = [&] {
    if (!asked) {
      asked = true;
      forms::PostMessage(*form, kSecondFormMessage, 0);  // handled while the box is open
      answer = forms::MessageDlg(app, "Encore\xA0? \x80 \x9C", forms::MsgDlgType::Information,
                                 forms::MsgDlgButtons::YesNo);
      form->Close();
      return;
    }
    HWND box = OpenMessageBox();
    if (box == nullptr || ++ticks_while_open < 3) return;
    caption = TextOf(box);
    text = TextOf(GetDlgItem(box, kMessageBoxTextId));
    yes = TextOf(GetDlgItem(box, IDYES));
    no = TextOf(GetDlgItem(box, IDNO));
    PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  };
  Run();
  EXPECT_EQ(answer, ModalResult::No);
  EXPECT_GE(ticks_while_open, 3);
  EXPECT_EQ(form->events, (std::vector<std::string>{"message 1030"}));
  EXPECT_EQ(caption, "Information");
  EXPECT_EQ(text, "Encore\xA0? \x80 \x9C");
  EXPECT_EQ(yes, "&Oui");
  EXPECT_EQ(no, "&Non");
}

TEST_F(Win32BackendTest, AFailingHandlerIsReportedUnderTheTitleAndTheLoopGoesOn) {
  form->on_click = [] { throw std::runtime_error("Impossible d'ouvrir le fichier C:\\x"); };
  std::string caption, text;
  int ticks_after_report = 0;
  bool clicked = false;
  form->on_tick = [&] {
    if (!clicked) {
      clicked = true;
      PostMessageW(Native(form->Ok), BM_CLICK, 0, 0);
      return;
    }
    if (HWND box = OpenMessageBox()) {
      caption = TextOf(box);
      text = TextOf(GetDlgItem(box, kMessageBoxTextId));
      PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    } else if (!caption.empty() && ++ticks_after_report == 2) {
      form->Close();
    }
  };
  Run();
  EXPECT_EQ(caption, "Probe");
  EXPECT_EQ(text, "Impossible d'ouvrir le fichier C:\\x");
  EXPECT_EQ(ticks_after_report, 2);
}

TEST_F(Win32BackendTest, EnterPressesTheDefaultButtonOnlyWhileItIsEnabled) {
  int stage = 0;
  form->on_tick = [&] {
    HWND focus = GetFocus();
    switch (stage++) {
      case 0:
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
        break;
      case 2:
        form->Ok.SetEnabled(false);
        PostMessageW(Native(*form), WM_KEYDOWN, VK_RETURN, 0);
        break;
      case 4:
        form->Close();
        break;
      default:
        break;
    }
  };
  Run();
  EXPECT_EQ(form->events, (std::vector<std::string>{"click"}));
}

TEST(WideTextTest, Windows1252IsConvertedAsSuchWhateverTheAnsiCodePage) {
  struct Case {
    const char* text;
    const wchar_t* wide;
  };
  for (const Case& c : {Case{"Mise \xE0 jour", L"Mise \u00E0 jour"}, Case{"\x80", L"\u20AC"},
                        Case{"\x9C\x9F", L"\u0153\u0178"}, Case{"", L""}}) {
    EXPECT_EQ(forms::win32::Cp1252ToWide(c.text), c.wide) << c.text;
    EXPECT_EQ(forms::win32::WideToCp1252(c.wide), c.text) << c.text;
  }
  EXPECT_EQ(forms::win32::WideToCp1252(L"\u4E2D"), "?");
}

TEST(PicturePlacementTest, CentredProportionalOrNaturalSize) {
  struct Case {
    const char* label;
    int picture_width, picture_height, box_width, box_height;
    bool center, proportional;
    RECT expected;
  };
  for (const Case& c : {
           Case{"logo banner, fits: centred", 330, 53, 553, 57, true, true, {111, 2, 441, 55}},
           Case{
               "about logo, too high: scaled down", 384, 57, 441, 41, true, true, {82, 0, 358, 41}},
           Case{"too wide: scaled to the width", 400, 40, 200, 100, true, true, {0, 40, 200, 60}},
           Case{"connection picture: natural size from the left, cropped",
                362,
                193,
                226,
                193,
                false,
                false,
                {0, 0, 362, 193}},
       }) {
    const RECT r = forms::win32::PicturePlacement(c.picture_width, c.picture_height, c.box_width,
                                                  c.box_height, c.center, c.proportional);
    EXPECT_EQ(
        (std::vector<long>{r.left, r.top, r.right, r.bottom}),
        (std::vector<long>{c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}))
        << c.label;
  }
}

}  // namespace
