// The GTK backend on its own, with a small probe form: the loop and its
// order of events, message boxes and error boxes in nested loops, the
// widgets' geometry and text measurement, keyboard, list clicks and the
// close box. Caption conversion and picture placement need no display.
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/gtk/button_peer.h"
#include "forms/gtk/edit_peer.h"
#include "forms/gtk/gtk_backend.h"
#include "forms/gtk/label_peer.h"
#include "forms/gtk/list_box_peer.h"
#include "forms/gtk/mnemonic.h"
#include "forms/gtk/picture_placement.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/message_dlg.h"
#include "forms/text.h"
#include "forms/timer.h"
#include "platform/virtual_clock.h"
#include "tests/gtk/gtk_test_support.h"

namespace {

using forms::gtk::GtkBackend;
using kst_test::Mismatches;
using kst_test::Pump;
using kst_test::WindowOf;

TEST(MnemonicLabelTest, AmpersandsBecomeUnderscoresAndTextBecomesUtf8) {
  const struct {
    const char* caption;
    const char* label;
  } cases[] = {
      {"&Suivant", "_Suivant"},
      {"E&xit", "E_xit"},
      {"OK", "OK"},
      {"&Pr\xE9"
       "c\xE9"
       "dent",
       "_Pr\xC3\xA9"
       "c\xC3\xA9"
       "dent"},
      {"Tom && Jerry", "Tom & Jerry"},   // a real ampersand
      {"mise_a_jour", "mise__a__jour"},  // a real underscore
      {"fin&", "fin&"},                  // nothing to mark
  };
  for (const auto& c : cases) EXPECT_EQ(forms::gtk::MnemonicLabel(c.caption), c.label) << c.caption;
}

TEST(PicturePlacementTest, CentredProportionalOrFromTheTopLeft) {
  using forms::gtk::PictureRect;
  const struct {
    const char* what;
    int control_width, control_height, picture_width, picture_height;
    bool center, proportional;
    PictureRect expected;
  } cases[] = {
      {"banner, smaller than its control", 553, 57, 330, 53, true, true, {111, 2, 330, 53}},
      {"about logo, too wide and too tall", 441, 41, 384, 57, true, true, {82, 0, 276, 41}},
      {"tall picture in a square", 40, 40, 50, 100, true, true, {10, 0, 20, 40}},
      {"connection picture, control narrowed", 226, 193, 362, 193, false, false, {0, 0, 362, 193}},
      {"never scaled up", 553, 57, 330, 53, false, true, {0, 0, 330, 53}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(forms::gtk::PlacePicture(c.control_width, c.control_height, c.picture_width,
                                       c.picture_height, c.center, c.proportional),
              c.expected)
        << c.what;
  }
}

class ProbeForm final : public forms::Form {
 public:
  explicit ProbeForm(forms::Application& app)
      : Form(app, "ProbeForm"),
        Text(this, "Text"),
        Count(this, "Count"),
        Choices(this, "Choices"),
        Go(this, "Go"),
        Ok(this, "Ok"),
        Ticker(this, "Ticker") {
    SetClientSize(300, 200);
    SetBorderStyle(forms::BorderStyle::Single);
    SetBorderIcons(forms::BorderIcons{.system_menu = false, .minimize = true, .maximize = false});
    SetCaption("Sonde \xE0 l'essai");
    Text.SetBounds(10, 10, 100, 13);
    Text.SetAutoSize(false);
    Text.SetCaption("Une ligne bien trop longue pour sa place");
    Count.SetBounds(10, 30, 140, 21);
    Count.SetReadOnly(true);
    Count.SetTabStop(false);
    Count.SetText("Etape n\xB0 1 sur 10");
    Choices.SetBounds(160, 10, 120, 100);
    for (const char* item : {"COM1", "COM3", "COM4 : VORANEX"}) Choices.AddItem(item);
    Go.SetBounds(10, 160, 75, 25);
    Go.SetCaption("&Go");
    Go.SetHint("permet de quitter la mise \xE0 jours", true);
    Ok.SetBounds(100, 160, 75, 25);
    Ok.SetCaption("OK");
    Ok.SetDefault(true);
    Ticker.SetEnabled(false);
    Go.SetTabOrder(0);
    Ok.SetTabOrder(1);
    Choices.SetTabOrder(2);
  }
  void Dispatch(forms::Message& message) override {
    events.push_back("msg" + std::to_string(message.Msg));
  }

  forms::Label Text;
  forms::Edit Count;
  forms::ListBox Choices;
  forms::Button Go;
  forms::Button Ok;
  forms::Timer Ticker;
  std::vector<std::string> events;
};

// A user's locale in the environment, as a desktop session sets it, before
// any test brings GTK up.
class UserLocaleEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { setenv("LC_ALL", "C.UTF-8", 1); }
};
const auto* const kUserLocale = ::testing::AddGlobalTestEnvironment(new UserLocaleEnvironment);

TEST(GtkLocaleTest, NumbersKeepTheirDecimalPointWhateverTheUsersLocale) {
  platform::VirtualClock clock;
  const auto backend = kst_test::CreateTestBackend(clock);
  if (backend == nullptr) GTEST_SKIP() << "no display to open windows on";
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_EQ(forms::Format("%.1f", 28.5), "28.5");
}

class GtkBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = kst_test::CreateTestBackend(clock_);
    if (backend_ == nullptr) GTEST_SKIP() << "no display to open windows on";
    backend_->SetTimeSkipper([this](std::uint32_t ms) { clock_.Advance(ms); });
    app_ = std::make_unique<forms::Application>(*backend_);
    app_->SetTitle("Sonde");
    form_ = &app_->CreateForm(form_ref_);
    form_->Show();
    ASSERT_TRUE(
        Pump(*backend_, [this] { return gtk_widget_get_mapped(GTK_WIDGET(WindowOf(*form_))); }));
  }

  static std::string ButtonLabel(GtkDialog* dialog, forms::ModalResult result) {
    GtkWidget* button = gtk_dialog_get_widget_for_response(dialog, static_cast<gint>(result));
    return button != nullptr ? gtk_button_get_label(GTK_BUTTON(button)) : "(none)";
  }

  // Runs act(dialog) from the loop once a box is open.
  static void WhenDialogOpens(std::function<void(GtkDialog*)>* act) {
    g_timeout_add(
        5,
        [](gpointer data) -> gboolean {
          GtkDialog* dialog = kst_test::OpenDialog();
          if (dialog == nullptr) return G_SOURCE_CONTINUE;
          (*static_cast<std::function<void(GtkDialog*)>*>(data))(dialog);
          return G_SOURCE_REMOVE;
        },
        act);
  }

  static void Press(GtkDialog* dialog, forms::ModalResult result) {
    gtk_button_clicked(
        GTK_BUTTON(gtk_dialog_get_widget_for_response(dialog, static_cast<gint>(result))));
  }

  platform::VirtualClock clock_{1000};
  std::unique_ptr<GtkBackend> backend_;
  std::unique_ptr<forms::Application> app_;  // goes before the backend
  ProbeForm* form_ref_ = nullptr;
  ProbeForm* form_ = nullptr;
};

TEST_F(GtkBackendTest, PostedMessageGoesBeforeADueTickAndTicksKeepTheirRate) {
  ProbeForm& f = *form_;
  std::vector<std::uint32_t> tick_times;
  f.Ticker.OnTimer = [&](forms::Component*) {
    tick_times.push_back(clock_.Now());
    f.events.push_back("tick");
    if (tick_times.size() == 1) {
      clock_.Advance(150);  // a handler that ran long: the next tick is due on return
      forms::PostMessage(f, 1030, 0);
    }
  };
  f.Ticker.SetInterval(100);
  f.Ticker.SetEnabled(true);
  ASSERT_TRUE(Pump(*backend_, [&] { return tick_times.size() == 4; }));
  EXPECT_EQ(f.events, (std::vector<std::string>{"tick", "msg1030", "tick", "tick", "tick"}));
  // After the long one, ticks fall back on the first one's rate.
  for (std::size_t i = 2; i < tick_times.size(); ++i) {
    EXPECT_NEAR(static_cast<double>(tick_times[i] - tick_times[0]), 100.0 * static_cast<double>(i),
                3.0)
        << i;
  }
}

TEST_F(GtkBackendTest, MessageBoxWaitsForItsAnswerWhileTicksAndMessagesGoOn) {
  ProbeForm& f = *form_;
  int ticks_while_open = 0;
  bool open = false;
  forms::ModalResult answer = forms::ModalResult::None;
  f.Ticker.OnTimer = [&](forms::Component*) {
    if (open) {
      ++ticks_while_open;
      return;
    }
    open = true;
    forms::PostMessage(f, 1025, 0);
    answer = forms::MessageDlg(*app_, "Le port s\xE9rie ne r\xE9pond pas.",
                               forms::MsgDlgType::Error, forms::MsgDlgButtons::YesNo);
    open = false;
    f.Ticker.SetEnabled(false);
  };
  std::function<void(GtkDialog*)> act = [&](GtkDialog* dialog) {
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Erreur");
    EXPECT_EQ(kst_test::DialogTexts(dialog),
              "icon:dialog-error|Le port s\xC3\xA9rie ne r\xC3\xA9pond pas.|");
    EXPECT_EQ(ButtonLabel(dialog, forms::ModalResult::Yes), "_Oui");
    EXPECT_EQ(ButtonLabel(dialog, forms::ModalResult::No), "_Non");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), WindowOf(f));
    EXPECT_TRUE(Pump(*backend_, [&] { return ticks_while_open >= 3 && f.events.size() == 1; }))
        << "the box stopped the loop";
    Press(dialog, forms::ModalResult::No);
  };
  WhenDialogOpens(&act);
  f.Ticker.SetInterval(50);
  f.Ticker.SetEnabled(true);
  ASSERT_TRUE(Pump(*backend_, [&] { return answer != forms::ModalResult::None; }));
  EXPECT_EQ(answer, forms::ModalResult::No);
  EXPECT_EQ(kst_test::OpenDialog(), nullptr);
}

TEST_F(GtkBackendTest, ClosingAMessageBoxAnswersNoOrOk) {
  const struct {
    forms::MsgDlgType kind;
    forms::MsgDlgButtons buttons;
    const char* caption;
    const char* icon;
    forms::ModalResult expected;
  } cases[] = {
      {forms::MsgDlgType::Error, forms::MsgDlgButtons::YesNo, "Erreur", "dialog-error",
       forms::ModalResult::No},
      {forms::MsgDlgType::Information, forms::MsgDlgButtons::Ok, "Information",
       "dialog-information", forms::ModalResult::Ok},
  };
  for (const auto& c : cases) {
    std::function<void(GtkDialog*)> act = [&](GtkDialog* dialog) {
      EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), c.caption);
      EXPECT_EQ(kst_test::DialogTexts(dialog), std::string("icon:") + c.icon + "|Texte|");
      gtk_window_close(GTK_WINDOW(dialog));  // the close box
    };
    WhenDialogOpens(&act);
    EXPECT_EQ(forms::MessageDlg(*app_, "Texte", c.kind, c.buttons), c.expected) << c.caption;
  }
}

TEST_F(GtkBackendTest, FailingClickHandlerIsReportedAndTheLoopGoesOn) {
  ProbeForm& f = *form_;
  f.Go.OnClick = [](forms::Component*) { throw std::runtime_error("Disque plein"); };
  std::function<void(GtkDialog*)> act = [](GtkDialog* dialog) {
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Sonde");  // the application's title
    EXPECT_EQ(kst_test::DialogTexts(dialog), "icon:dialog-error|Disque plein|");
    EXPECT_EQ(ButtonLabel(dialog, forms::ModalResult::Ok), "OK");
    Press(dialog, forms::ModalResult::Ok);
  };
  WhenDialogOpens(&act);
  gtk_button_clicked(dynamic_cast<forms::gtk::ButtonPeer&>(*f.Go.Peer()).Widget());
  int ticks = 0;
  f.Ticker.OnTimer = [&ticks](forms::Component*) { ++ticks; };
  f.Ticker.SetEnabled(true);
  EXPECT_TRUE(Pump(*backend_, [&ticks] { return ticks == 2; }));
}

TEST_F(GtkBackendTest, WidgetsShowTheirComponentsAtTheirPlaces) {
  ProbeForm& f = *form_;
  EXPECT_EQ(Mismatches(f), "");
  GtkEntry* count = dynamic_cast<forms::gtk::EditPeer&>(*f.Count.Peer()).Widget();
  EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(count)));
  EXPECT_FALSE(gtk_widget_get_can_focus(GTK_WIDGET(count)));
  GtkButton* go = dynamic_cast<forms::gtk::ButtonPeer&>(*f.Go.Peer()).Widget();
  EXPECT_STREQ(gtk_widget_get_tooltip_text(GTK_WIDGET(go)),
               "permet de quitter la mise \xC3\xA0 jours");
  GtkWindow* window = WindowOf(f);
  EXPECT_FALSE(gtk_window_get_resizable(window));
  EXPECT_FALSE(gtk_window_get_deletable(window)) << "no system menu, no close box";
  EXPECT_EQ(gtk_widget_get_allocated_width(gtk_bin_get_child(GTK_BIN(window))), 300);
  EXPECT_EQ(gtk_widget_get_allocated_height(gtk_bin_get_child(GTK_BIN(window))), 200);

  // Changes reach the widgets, the list's selection included.
  f.Text.SetCaption("Autre");
  f.Go.SetEnabled(false);
  f.Ok.SetVisible(false);
  f.Choices.SetSorted(true);
  f.Choices.AddItem("COM2");
  f.Choices.SetItemIndex(1);
  f.Count.SetBounds(20, 40, 120, 21);
  EXPECT_EQ(Mismatches(f), "");
}

TEST_F(GtkBackendTest, TextWidthIsTheWidthOfTheTextTheLabelDraws) {
  ProbeForm& f = *form_;
  const std::string prompt = "Selectionnez la langue de votre choix parmi la liste :";
  GtkLabel* text = dynamic_cast<forms::gtk::LabelPeer&>(*f.Text.Peer()).Widget();
  f.Text.SetCaption(prompt);
  for (const forms::FontSpec& font : {forms::FontSpec{}, forms::FontSpec{.style = forms::kBold},
                                      forms::FontSpec{.size = 10, .style = forms::kItalic},
                                      forms::FontSpec{.size = 12, .style = forms::kBold}}) {
    f.Text.SetFont(font);
    Mismatches(f);  // lays the window out
    const int measured = f.TextWidth(prompt, font);
    EXPECT_EQ(gtk_widget_get_allocated_width(GTK_WIDGET(text)), measured) << font.size;
    EXPECT_GT(measured, 0);
  }
  forms::FontSpec larger;
  larger.size = 12;
  EXPECT_GT(f.TextWidth(prompt, larger), f.TextWidth(prompt, forms::FontSpec{}));
}

TEST_F(GtkBackendTest, FixedSizeLabelKeepsItsSizeAndAlignsTextThatOverflows) {
  ProbeForm& f = *form_;
  GtkWidget* text = GTK_WIDGET(dynamic_cast<forms::gtk::LabelPeer&>(*f.Text.Peer()).Widget());
  const int natural = f.TextWidth(f.Text.Caption(), f.Text.Font());
  ASSERT_GT(natural, f.Text.Width());
  const struct {
    forms::Alignment alignment;
    int left;
  } cases[] = {{forms::Alignment::LeftJustify, 0},
               {forms::Alignment::Center, (100 - natural) / 2},
               {forms::Alignment::RightJustify, 100 - natural}};
  for (const auto& c : cases) {
    f.Text.SetAlignment(c.alignment);
    EXPECT_EQ(Mismatches(f), "");  // the box stays 100 wide
    GtkAllocation shown;
    gtk_widget_get_allocation(text, &shown);
    EXPECT_EQ(shown.x, c.left);
  }
}

TEST_F(GtkBackendTest, AltWithTheMnemonicClicksAndEnterPressesTheDefaultButton) {
  ProbeForm& f = *form_;
  int go = 0;
  int ok = 0;
  f.Go.OnClick = [&go](forms::Component*) { ++go; };
  f.Ok.OnClick = [&ok](forms::Component*) { ++ok; };
  GtkWindow* window = WindowOf(f);
  const auto enter = [window] {
    return gtk_bindings_activate(G_OBJECT(window), GDK_KEY_Return, static_cast<GdkModifierType>(0));
  };
  ASSERT_TRUE(gtk_window_mnemonic_activate(window, GDK_KEY_g, GDK_MOD1_MASK));
  EXPECT_TRUE(Pump(*backend_, [&go] { return go == 1; }));
  gtk_window_set_focus(window, nullptr);
  ASSERT_TRUE(enter());
  EXPECT_TRUE(Pump(*backend_, [&ok] { return ok == 1; }));
  // A button with the focus takes Enter itself, as on the designed platform.
  gtk_widget_grab_focus(GTK_WIDGET(dynamic_cast<forms::gtk::ButtonPeer&>(*f.Go.Peer()).Widget()));
  ASSERT_TRUE(enter());
  EXPECT_TRUE(Pump(*backend_, [&go] { return go == 2; }));
  EXPECT_EQ(ok, 1);
}

TEST_F(GtkBackendTest, ListClickSetsTheIndexFirstAndTheHandlerMayRebuildTheList) {
  ProbeForm& f = *form_;
  std::vector<int> clicked;
  f.Choices.OnClick = [&](forms::Component*) {
    clicked.push_back(f.Choices.ItemIndex());
    // As the language list does: rebuilt from the click.
    f.Choices.ClearItems();
    for (const char* item : {"Fran\xE7"
                             "ais",
                             "English"})
      f.Choices.AddItem(item);
    f.Choices.SetItemIndex(static_cast<int>(clicked.size() % 2));
  };
  f.Choices.SetItemIndex(0);  // the program's own selection is no click
  GtkListBox* list = dynamic_cast<forms::gtk::ListBoxPeer&>(*f.Choices.Peer()).Widget();
  ASSERT_TRUE(kst_test::ClickWithTheMouse(GTK_WIDGET(gtk_list_box_get_row_at_index(list, 2))));
  ASSERT_TRUE(Pump(*backend_, [&clicked] { return !clicked.empty(); }));
  EXPECT_EQ(clicked, std::vector<int>{2});
  EXPECT_EQ(Mismatches(f), "");
  EXPECT_EQ(f.Choices.ItemIndex(), 1);
}

TEST_F(GtkBackendTest, TheWindowManagersCloseCommandClosesTheMainFormAndEndsTheLoop) {
  g_idle_add(
      [](gpointer window) -> gboolean {
        gtk_window_close(GTK_WINDOW(window));
        return G_SOURCE_REMOVE;
      },
      WindowOf(*form_));
  app_->Run();
  EXPECT_TRUE(app_->Terminated());
  EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(WindowOf(*form_))));
}

// A clock that follows real time.
class SteadyClock final : public platform::Clock {
 public:
  std::uint32_t GetTickCount() override {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
  void Sleep(std::uint32_t /*milliseconds*/) override {}
};

TEST(GtkRealTimeTest, TicksComeAtTheirIntervalOnARealClock) {
  SteadyClock clock;
  std::unique_ptr<GtkBackend> created = kst_test::CreateTestBackend(clock);
  if (created == nullptr) GTEST_SKIP() << "no display to open windows on";
  GtkBackend& backend = *created;
  {
    forms::Application app(backend);
    ProbeForm* ref = nullptr;
    ProbeForm& f = app.CreateForm(ref);
    int ticks = 0;
    f.Ticker.OnTimer = [&ticks](forms::Component*) { ++ticks; };
    const auto start = std::chrono::steady_clock::now();
    f.Ticker.SetInterval(30);
    f.Ticker.SetEnabled(true);
    ASSERT_TRUE(Pump(backend, [&ticks] { return ticks == 4; }));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(115));
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
  }
}

}  // namespace
