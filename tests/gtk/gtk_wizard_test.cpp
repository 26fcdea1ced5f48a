// The wizard on the GTK backend, driven through its widgets as a user would,
// against a simulated device on virtual time: all ten steps in French and in
// English, the about box opened while programming goes on, and a screenshot
// of every screen. At each screen the widgets must show what the components
// hold.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "about/Boiteapropos.h"
#include "forms/application.h"
#include "forms/cp1252.h"
#include "forms/gtk/button_peer.h"
#include "forms/gtk/gtk_backend.h"
#include "forms/gtk/image_peer.h"
#include "forms/gtk/list_box_peer.h"
#include "forms/text.h"
#include "platform/memory_port_map.h"
#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"
#include "tests/gtk/gtk_test_support.h"
#include "tests/support/fake_system_services.h"
#include "wizard/Tformmj.h"
#include "wizard/text_catalogue.h"

namespace {

using kst_test::Mismatches;
using kst_test::Pump;
using kst_test::WindowOf;

constexpr int kDevicePort = 4;
constexpr const char* kDevice = "Satellite de la KST90 SII";

class GtkWizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = kst_test::CreateTestBackend(clock_);
    if (backend_ == nullptr) GTEST_SKIP() << "no display to open windows on";
    backend_->SetTimeSkipper([this](std::uint32_t ms) { clock_.Advance(ms); });
    app_ = std::make_unique<forms::Application>(*backend_);
    port_map_.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}});
    device_ = &serial_.AddDevice(kDevicePort, DeviceToUpdate());
    app_->CreateForm(FormMj, services_);
    app_->CreateForm(FormAPropos, services_.system);
    FormMj->Show();
    ASSERT_TRUE(
        Pump(*backend_, [] { return gtk_widget_get_mapped(GTK_WIDGET(WindowOf(*FormMj))); }));
  }

  virtual sim::DeviceConfig DeviceToUpdate() const { return {}; }

  // Checks the screen against the components and keeps a picture of it.
  void Screen(const forms::Form& form, const std::string& name) {
    EXPECT_EQ(Mismatches(form), "") << name;
    kst_test::SaveScreenshot(WindowOf(form), std::string(KST_SCREENSHOT_DIR) + "/" + name + ".png");
  }

  // A click as the user makes it: only on a button on screen and enabled.
  void Click(forms::Button& button) {
    auto* peer = dynamic_cast<forms::gtk::ButtonPeer*>(button.Peer());
    ASSERT_NE(peer, nullptr);
    GtkWidget* widget = GTK_WIDGET(peer->Widget());
    ASSERT_TRUE(gtk_widget_is_drawable(widget) && gtk_widget_is_sensitive(widget)) << button.Name();
    gtk_button_clicked(peer->Widget());
  }

  void ChooseEnglish(TFormMj& form) {
    auto* peer = dynamic_cast<forms::gtk::ListBoxPeer*>(form.ListBoxSelectLangPort.Peer());
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(
        kst_test::ClickWithTheMouse(GTK_WIDGET(gtk_list_box_get_row_at_index(peer->Widget(), 1))));
    ASSERT_TRUE(Pump(*backend_, [&form] { return form.Language == 1; }));
  }

  // Walks from step 1 to the end of the update, then quits with No.
  void Walk(const std::string& language) {
    TFormMj& form = *FormMj;
    const auto screen = [&](int step) {
      Screen(form, language + "_step" + (step < 10 ? "0" : "") + std::to_string(step));
    };
    for (int step = 1; step <= 6; ++step) {
      EXPECT_EQ(form.Step, step);
      screen(step);
      Click(form.ButtonSuivant);  // Connection on step 6
    }
    EXPECT_EQ(form.Step, 7);
    screen(7);
    // Step 8 once the check has shown all its lines.
    ASSERT_TRUE(Pump(*backend_, [&form] { return form.Step == 8 && form.LabelLigne4.Visible(); }));
    screen(8);
    ASSERT_TRUE(Pump(*backend_, [&form] { return form.Step == 9 && form.NextLine >= 100; }));
    screen(9);
    VisitAboutBox(language);
    ASSERT_TRUE(
        Pump(*backend_, [&form] { return form.Step == 10 && !form.TimerGestionSerie.Enabled(); }));
    screen(10);
    EXPECT_EQ(device_->data()[sim::kVersionMajorAddress], 3);
    EXPECT_EQ(device_->data()[sim::kVersionMinorAddress], 5);
    Click(form.ButtonQuitter);  // No: no other device
    EXPECT_TRUE(app_->Terminated());
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(WindowOf(form))));
  }

  // Opens the about box on the programming step; while it is open,
  // programming must go on. French closes it with OK, English with Enter.
  void VisitAboutBox(const std::string& language) {
    struct Visit {
      GtkWizardTest* test;
      std::string language;
      int line_at_open = -1;
      bool mail_clicked = false;
      bool closed = false;
    } visit{this, language};
    // First, before any tick of the nested loop: the box as it opens.
    g_idle_add_full(
        G_PRIORITY_HIGH,
        [](gpointer data) -> gboolean {
          auto* v = static_cast<Visit*>(data);
          v->line_at_open = FormMj->NextLine;
          GtkWindow* box = WindowOf(*FormAPropos);
          EXPECT_TRUE(gtk_window_get_modal(box));
          EXPECT_EQ(gtk_window_get_transient_for(box), WindowOf(*FormMj));
          v->test->Screen(*FormAPropos, v->language + "_about");
          return G_SOURCE_REMOVE;
        },
        &visit, nullptr);
    // Then, once the box is on screen and some rows have gone out: a click
    // on the e-mail link, and once the mail program is asked for, close it.
    g_timeout_add(
        10,
        [](gpointer data) -> gboolean {
          auto* v = static_cast<Visit*>(data);
          GtkWindow* box = WindowOf(*FormAPropos);
          if (v->line_at_open < 0 || FormMj->NextLine < v->line_at_open + 20 ||
              !gtk_widget_get_mapped(GTK_WIDGET(box))) {
            return G_SOURCE_CONTINUE;
          }
          if (!v->mail_clicked) {
            v->mail_clicked = true;
            EXPECT_TRUE(kst_test::ClickWithTheMouse(
                dynamic_cast<forms::gtk::ControlPeer&>(*FormAPropos->LabelMel.Peer()).Outer()));
            return G_SOURCE_CONTINUE;
          }
          if (v->test->system_.opened_urls.empty()) return G_SOURCE_CONTINUE;
          EXPECT_EQ(v->test->system_.opened_urls, std::vector<std::string>{MailTarget});
          // Centred over the wizard.
          int x = 0, y = 0, wizard_x = 0, wizard_y = 0;
          gtk_window_get_position(box, &x, &y);
          gtk_window_get_position(WindowOf(*FormMj), &wizard_x, &wizard_y);
          EXPECT_NEAR(x + FormAPropos->ClientWidth() / 2, wizard_x + FormMj->ClientWidth() / 2, 2);
          EXPECT_NEAR(y + FormAPropos->ClientHeight() / 2, wizard_y + FormMj->ClientHeight() / 2,
                      2);
          if (v->language == "fr") {
            gtk_button_clicked(
                dynamic_cast<forms::gtk::ButtonPeer&>(*FormAPropos->ButtonOk.Peer()).Widget());
          } else {
            gtk_bindings_activate(G_OBJECT(box), GDK_KEY_Return, static_cast<GdkModifierType>(0));
          }
          v->closed = true;
          return G_SOURCE_REMOVE;
        },
        &visit);
    Click(FormMj->ButtonAPropos);
    EXPECT_TRUE(visit.closed);
    EXPECT_FALSE(FormAPropos->Visible());
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(WindowOf(*FormAPropos))));
  }

  platform::VirtualClock clock_;
  sim::SimulatedSerial serial_{clock_};
  platform::MemoryPortMap port_map_;
  kst_test::FakeSystemServices system_;
  platform::Services services_{serial_, clock_, port_map_, system_};
  std::unique_ptr<forms::gtk::GtkBackend> backend_;
  std::unique_ptr<forms::Application> app_;  // goes before the backend
  sim::LoaderDevice* device_ = nullptr;
};

class GtkWizardOutcomeTest : public GtkWizardTest {
 protected:
  sim::DeviceConfig DeviceToUpdate() const override {
    sim::DeviceConfig updated;
    updated.version_minor = 5;  // 3.5 already
    return updated;
  }
};

TEST_F(GtkWizardOutcomeTest, AlreadyUpdatedDeviceIsReportedInABoxAndYesLeadsToStepSix) {
  TFormMj& form = *FormMj;
  for (int step = 1; step <= 6; ++step) Click(form.ButtonSuivant);
  ASSERT_EQ(form.Step, 7);
  bool answered = false;
  const auto answer = [&answered, this]() {
    GtkDialog* dialog = kst_test::OpenDialog();
    if (dialog == nullptr) return false;
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Information");
    EXPECT_EQ(kst_test::DialogTexts(dialog),
              "icon:dialog-information|" +
                  forms::Cp1252ToUtf8(forms::Format(MsgAlreadyUpdated[0], kDevice, kDevice)) + "|");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), WindowOf(*FormMj));
    kst_test::SaveScreenshot(GTK_WINDOW(dialog),
                             std::string(KST_SCREENSHOT_DIR) + "/fr_already_updated.png");
    gtk_button_clicked(GTK_BUTTON(
        gtk_dialog_get_widget_for_response(dialog, static_cast<gint>(forms::ModalResult::Yes))));
    answered = true;
    return true;
  };
  // The box runs its own loop inside the message handler: answer from there.
  std::function<bool()> act = answer;
  g_timeout_add(
      5,
      [](gpointer data) -> gboolean {
        return (*static_cast<std::function<bool()>*>(data))() ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
      },
      &act);
  ASSERT_TRUE(Pump(*backend_, [&] { return answered && form.Step == 6; }));
  EXPECT_EQ(kst_test::OpenDialog(), nullptr);
  Screen(form, "fr_step06_after_refusal");
  EXPECT_FALSE(form.ButtonPrecedant.Visible());
}

TEST_F(GtkWizardTest, FrenchUpdateThroughTheWidgets) {
  Walk("fr");
}

TEST_F(GtkWizardTest, EnglishChosenInTheListThenUpdateThroughTheWidgets) {
  TFormMj& form = *FormMj;
  const int french_list_left = form.ListBoxSelectLangPort.Left();
  ChooseEnglish(form);
  EXPECT_NE(form.ListBoxSelectLangPort.Left(), french_list_left) << "the list follows the prompt";
  Walk("en");
}

}  // namespace
