// What each step screen shows, on the way forward through all ten steps in
// both languages, and what it carries over from the screens before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/text.h"
#include "tests/support/headless_wizard.h"

namespace {

// The visible components of the window, with "-" after a disabled button.
std::string Shown(const TFormMj& f) {
  std::string out;
  auto add = [&out](const char* name, bool shown) {
    if (!shown) return;
    if (!out.empty()) out.append(" ");
    out.append(name);
  };
  add("L1", f.LabelLigne1.Visible());
  add("L2", f.LabelLigne2.Visible());
  add("L3", f.LabelLigne3.Visible());
  add("L4", f.LabelLigne4.Visible());
  add("L5", f.LabelLigne5.Visible());
  add("Bottom", f.LabelBarreProgression.Visible());
  add("Bar", f.ProgressBarProgrammation.Visible());
  add("Picture", f.ImageConnectAppareilaPC.Visible());
  add("List", f.ListBoxSelectLangPort.Visible());
  add("Combo", f.ComboBoxLangueSel.Visible());
  out += " |";
  for (const forms::Button* button :
       {&f.ButtonAPropos, &f.ButtonQuitter, &f.ButtonPrecedant, &f.ButtonSuivant}) {
    if (!button->Visible()) continue;
    out.append(" ").append(button->Name(), 6);  // the name after "Button"
    if (!button->Enabled()) out.append("-");
  }
  out.append(" | ").append(std::to_string(f.TimerGestionSerie.Interval()));
  if (!f.TimerGestionSerie.Enabled()) out.append(" stopped");
  return out;
}

struct StepView {
  const char* shown;
  const char* title[2];
  const char* quit[2];
  const char* previous[2];
  const char* next[2];
};

// Steps 1 to 10 in order, as reached by Next (steps 8 to 10 by the update's
// WM_STEP_DONE, which calls NextStep the same way).
const StepView kForward[] = {
    {"L1 L2 L3 Bottom List Combo | APropos Quitter Precedant- Suivant | 1000",
     {"Mise \xE0 jour du Satellite de la KST90 SII", "Update of your Satellite de la KST90 SII"},
     {"&Quitter", "E&xit"},
     {"&Pr\xE9"
      "c\xE9"
      "dent",
      "&Before"},
     {"&Suivant", "&Next"}},
    {"L1 L2 L3 L4 Bottom Combo | APropos Quitter Precedant Suivant | 1000",
     {"Mise \xE0 jour de votre Satellite de la KST90 SII ",
      "Update foreword the Satellite de la KST90 SII "},
     {"&Quitter", "E&xit"},
     {"&Pr\xE9"
      "c\xE9"
      "dent",
      "&Before"},
     {"&Suivant", "&Next"}},
    {"L1 Picture | APropos Quitter Precedant Suivant | 1000",
     {"Pr\xE9paration de votre Satellite de la KST90 SII pour la mise \xE0 jour",
      "Preparation of Satellite de la KST90 SII for the update"},
     {"&Quitter", "E&xit"},
     {"&Pr\xE9"
      "c\xE9"
      "dent",
      "&Before"},
     {"&Suivant", "&Next"}},
    {"L1 Picture | APropos Quitter Precedant Suivant | 1000",
     {"Connexion de votre Satellite de la KST90 SII \xE0 l'ordinateur",
      "Connection of Satellite de la KST90 SII to the PC."},
     {"&Quitter", "E&xit"},
     {"&Pr\xE9"
      "c\xE9"
      "dent",
      "&Before"},
     {"&Suivant", "&Next"}},
    {"L2 List | APropos Quitter Precedant Suivant | 1000",
     {"Choix du port de communication", "Choice the serial communication"},
     {"&Quitter", "E&xit"},
     {"&Pr\xE9"
      "c\xE9"
      "dent",
      "&Before"},
     {"&Suivant", "&Next"}},
    {"L1 L2 L4 | APropos Quitter Precedant Suivant | 1000",
     {"V\xE9rification et lancement de la mise \xE0 jour.",
      "Checking and launching of the update "},
     {"&Quitter", "E&xit"},
     {"&Pr\xE9"
      "c\xE9"
      "dent",
      "&Before"},
     {"&Connexion", "&Connection"}},
    {"L1 | APropos Quitter Precedant Suivant- | 2250",
     {"Attente de la Connexion", "Attent of the Connection"},
     {"&Quitter", "E&xit"},
     {"&Annuler", "&Cancel"},
     {"&Connexion", "&Connection"}},
    {" | APropos Quitter- Suivant- | 200",
     {"V\xE9rification de l'appareil", "Checking of the device"},
     {"&Quitter", "E&xit"},
     {"&Annuler", "&Cancel"},
     {"&Connexion", "&Connection"}},
    {"L5 Bottom Bar | APropos Quitter- Suivant- | 100",
     {"Programmation de votre Satellite de la KST90 SII",
      "Programming of Satellite de la KST90 SII"},
     {"&Quitter", "E&xit"},
     {"&Annuler", "&Cancel"},
     {"&Connexion", "&Connection"}},
    {"Bottom | APropos Quitter Precedant | 100",
     {"Mise \xE0 jour r\xE9ussie", "Successful update"},
     {"&Non", "&No"},
     {"&Oui", "&Yes"},
     {"&Connexion", "&Connection"}},
};

class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.port_map.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}});
  }
  kst_test::HeadlessWizard w;
};

TEST_F(ScreensTest, EveryStepOnTheWayForwardInBothLanguages) {
  for (int language : {0, 1}) {
    SCOPED_TRACE(language);
    kst_test::HeadlessWizard run;
    run.port_map.Set({{"\\Device\\Silabser0", "COM4"}});
    TFormMj& f = run.Start();
    f.SetLanguage(language);
    const char* heading[2] = {"Mise \xE0 jour V3.5 de votre Satellite de la KST90 SII",
                              "Update V3.5 of Satellite de la KST90 SII"};
    const char* counter[2] = {"Etape n\xB0 %d sur 10", "Step n\xB0 %d of 10"};
    for (int step = 1; step <= 10; ++step) {
      SCOPED_TRACE(step);
      if (step > 1) f.NextStep();
      const StepView& view = kForward[step - 1];
      ASSERT_EQ(f.Step, step);
      EXPECT_EQ(Shown(f), view.shown);
      EXPECT_EQ(f.LabelTitreEtape.Caption(), view.title[language]);
      EXPECT_EQ(f.EditEtape.Text(), forms::Format(counter[language], step));
      EXPECT_EQ(f.Caption(), heading[language]);
      EXPECT_EQ(f.ButtonAPropos.Caption(), language == 0 ? "&A propos" : "&About");
      EXPECT_EQ(f.ButtonQuitter.Caption(), view.quit[language]);
      EXPECT_EQ(f.ButtonPrecedant.Caption(), view.previous[language]);
      EXPECT_EQ(f.ButtonSuivant.Caption(), view.next[language]);
    }
  }
}

TEST_F(ScreensTest, TextLinesOfTheFirstStepsInEnglish) {
  TFormMj& f = w.Start();
  f.SetLanguage(1);
  EXPECT_EQ(f.LabelLigne1.Caption(), "Update V3.5 of Satellite de la KST90 SII");
  EXPECT_EQ(f.LabelLigne2.Caption(), "Choice Of Language");
  EXPECT_EQ(f.LabelLigne3.Caption(), "Select your language of choice among the list :");
  EXPECT_EQ(f.LabelBarreProgression.Caption(),
            "This update allows you to take full advantage of recent developments.");
  f.NextStep();
  EXPECT_EQ(f.LabelLigne2.Caption(), "Hello");
  EXPECT_EQ(f.LabelLigne3.Caption(),
            "You are doing the last update of your Satellite de la KST90 SII.");
  EXPECT_EQ(f.LabelLigne4.Caption(), "It improves the performance of your device.");
  f.NextStep();
  EXPECT_EQ(f.LabelLigne1.Caption(),
            "To connect the serial cable and the pile to Satellite de la KST90 SII");
  f.NextStep();
  EXPECT_EQ(f.LabelLigne1.Caption(), "To connect the serial cable to computer");
  f.NextStep();
  EXPECT_EQ(f.LabelLigne2.Caption(), "Select serial port");
  f.NextStep();
  EXPECT_EQ(f.LabelLigne1.Caption(),
            "Check your Satellite de la KST90 SII is connected to the computer.");
  EXPECT_EQ(f.LabelLigne2.Caption(),
            "After clicking <Connection> here, start your Satellite de la KST90 SII.");
  EXPECT_EQ(f.LabelLigne4.Caption(),
            "Click <Connection> here and start your Satellite de la KST90 SII.");
  f.NextStep();
  EXPECT_EQ(f.LabelLigne1.Caption(), "Turn on your Satellite de la KST90 SII.");
}

TEST_F(ScreensTest, StylesAndAlignmentOfTheLines) {
  using forms::Alignment;
  TFormMj& f = w.Start();
  EXPECT_EQ(f.LabelLigne1.GetAlignment(), Alignment::Center);
  EXPECT_EQ(f.LabelLigne1.Font().style, forms::kBold);
  EXPECT_EQ(f.LabelLigne2.GetAlignment(), Alignment::Center);
  EXPECT_EQ(f.LabelBarreProgression.Font().style, forms::kItalic);
  EXPECT_EQ(f.LabelBarreProgression.Font().size, 10);
  EXPECT_EQ(f.LabelBarreProgression.GetAlignment(), Alignment::Center);
  f.NextStep();
  f.NextStep();  // step 3
  EXPECT_EQ(f.LabelLigne1.GetAlignment(), Alignment::LeftJustify);
  EXPECT_EQ(f.LabelLigne1.Font().style, forms::kPlain);
  EXPECT_EQ(f.LabelBarreProgression.Font().size, 8);
  EXPECT_EQ(f.LabelBarreProgression.Font().style, forms::kPlain);
  EXPECT_EQ(f.LabelBarreProgression.GetAlignment(), Alignment::LeftJustify);
  for (int i = 0; i < 4; ++i) f.NextStep();  // step 7
  EXPECT_EQ(f.LabelLigne1.Font().style, forms::kBold);
  f.NextStep();  // step 8
  EXPECT_EQ(f.LabelLigne1.Font().style, forms::kPlain);
  f.NextStep();  // step 9
  EXPECT_EQ(f.ProgressBarProgrammation.Position(), 0);
  EXPECT_TRUE(f.ProgressBarProgrammation.Smooth());
  EXPECT_EQ(f.LabelBarreProgression.Caption(), "Avancement de la mise \xE0 jour : 0.0 %");
  EXPECT_EQ(f.LabelLigne5.Caption(),
            "Transmission du programme \xE0 votre Satellite de la KST90 SII");
  f.NextStep();  // step 10
  EXPECT_EQ(f.LabelBarreProgression.Caption(),
            "Voulez vous faire la mise \xE0 jour sur d'autre Satellite de la KST90 SII ?");
  EXPECT_EQ(f.LabelBarreProgression.Font().size, 8);
  EXPECT_EQ(f.LabelBarreProgression.Font().style, forms::kPlain);
}

TEST_F(ScreensTest, LanguageListStandsTenPixelsRightOfTheInstruction) {
  TFormMj& f = w.Start();
  const forms::ListBox& list = f.ListBoxSelectLangPort;
  // 54 bytes of 6 pixels (headless rule for 8 pt) after left 8, then 10.
  EXPECT_EQ(list.Left(), 8 + 54 * 6 + 10);
  EXPECT_EQ(list.Top(), 182);
  EXPECT_EQ(list.Height(), 104);
  EXPECT_EQ(list.Items().Strings(), (std::vector<std::string>{"Fran\xE7"
                                                              "ais",
                                                              "English"}));
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(list.Style(), forms::ListBoxStyle::OwnerDrawFixed);
  f.SetLanguage(1);
  EXPECT_EQ(list.Left(), 8 + 47 * 6 + 10);
  EXPECT_EQ(list.ItemIndex(), 1);
}

TEST_F(ScreensTest, PortListIsCentredOnTheWindowWithTheAdapterSelected) {
  TFormMj& f = w.Start();
  for (int i = 0; i < 4; ++i) f.NextStep();
  const forms::ListBox& list = f.ListBoxSelectLangPort;
  EXPECT_EQ(list.Items().Strings(), (std::vector<std::string>{"COM1", "COM4 : VORANEX"}));
  EXPECT_TRUE(list.Sorted());
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(list.Top(), 178);
  EXPECT_EQ(list.Height(), 104);
  // Outer width 575 + 2 x 8 (headless frame), less the list's 153, halved.
  EXPECT_EQ(list.Left(), (591 - 153) / 2);
  // Back on step 1 the languages come back unsorted, in their order.
  for (int i = 0; i < 4; ++i) f.ButtonPrecedantClick(nullptr);
  EXPECT_EQ(list.Items().Strings(), (std::vector<std::string>{"Fran\xE7"
                                                              "ais",
                                                              "English"}));
}

TEST_F(ScreensTest, PortStepWithoutPreferredPortSelectsNothing) {
  w.port_map.Set({{"\\Device\\Serial0", "COM1"}});
  TFormMj& f = w.Start();
  for (int i = 0; i < 4; ++i) f.NextStep();
  EXPECT_EQ(f.ListBoxSelectLangPort.ItemIndex(), -1);
}

TEST_F(ScreensTest, PortStepWithoutAnyPortListsTheNoPortEntryOnlyTheSecondTime) {
  w.port_map.RemoveKey();
  TFormMj& f = w.Start();
  f.SetLanguage(1);
  for (int i = 0; i < 4; ++i) f.NextStep();
  EXPECT_EQ(f.ListBoxSelectLangPort.Items().Count(), 0);
  EXPECT_EQ(f.PortList->Strings(), (std::vector<std::string>{"No serial port"}));
  f.ButtonPrecedantClick(nullptr);
  f.NextStep();
  EXPECT_EQ(f.ListBoxSelectLangPort.Items().Strings(),
            (std::vector<std::string>{"No serial port"}));
}

TEST_F(ScreensTest, ConnectionPictureShowsItsLeftPartOnStep3AndAllOfItOnStep4) {
  TFormMj& f = w.Start();
  f.NextStep();
  f.NextStep();
  EXPECT_EQ(f.ImageConnectAppareilaPC.Width(), 226);
  f.NextStep();
  EXPECT_EQ(f.ImageConnectAppareilaPC.Width(), 362);
  f.ButtonPrecedantClick(nullptr);
  EXPECT_EQ(f.ImageConnectAppareilaPC.Width(), 226);
}

TEST_F(ScreensTest, PowerOnStepResetsItsCountdownAndHandsThePortToTheLink) {
  TFormMj& f = w.Start();
  for (int i = 0; i < 6; ++i) f.NextStep();
  EXPECT_EQ(f.SelectedPort, 4);
  EXPECT_EQ(f.Link.GetPort(), 4);
  f.ProgressBarProgrammation.SetPosition(7);
  f.NextLine = 12;
  f.ButtonPrecedantClick(nullptr);  // Cancel
  f.NextStep();                     // Connection again
  EXPECT_EQ(f.ProgressBarProgrammation.Position(), 0);
  EXPECT_EQ(f.ProgressBarProgrammation.Max(), 20);
  EXPECT_FALSE(f.ProgressBarProgrammation.Smooth());
  EXPECT_EQ(f.NextLine, 0);
}

TEST_F(ScreensTest, EntryWithoutAPortNumberLeavesTheLinksPort) {
  w.port_map.Set({{"\\Device\\Serial0", "COMX"}});
  TFormMj& f = w.Start();
  for (int i = 0; i < 4; ++i) f.NextStep();
  ASSERT_TRUE(w.backend.ClickItem(f.ListBoxSelectLangPort, 0));
  EXPECT_EQ(f.SelectedPort, -2);
  f.NextStep();
  f.NextStep();
  EXPECT_EQ(f.SelectedPort, -2);
  EXPECT_EQ(f.Link.GetPort(), 2);  // the link's own default
}

TEST_F(ScreensTest, ProgrammingStepWithoutRowsShowsZeroPercent) {
  TFormMj& f = w.Start();
  for (int i = 0; i < 7; ++i) f.NextStep();  // step 8
  f.ProgressBarProgrammation.SetMax(0);      // no image chosen yet
  f.NextStep();
  EXPECT_EQ(f.LabelBarreProgression.Caption(), "Avancement de la mise \xE0 jour : 0.0 %");
}

// Properties that a screen leaves alone keep what an earlier screen set.
TEST_F(ScreensTest, CarriedOverFromEarlierScreens) {
  using forms::Alignment;
  TFormMj& f = w.Start();
  for (int i = 0; i < 4; ++i) f.NextStep();  // step 5, step 1 more recent than 6
  EXPECT_EQ(f.LabelLigne2.GetAlignment(), Alignment::Center);
  f.NextStep();
  f.ButtonPrecedantClick(nullptr);  // back to 5 after 6
  EXPECT_EQ(f.LabelLigne2.GetAlignment(), Alignment::LeftJustify);
  f.NextStep();
  f.NextStep();                     // step 7
  f.ButtonPrecedantClick(nullptr);  // Cancel: step 6 keeps step 7's bold line 1
  EXPECT_EQ(f.Step, 6);
  EXPECT_EQ(f.LabelLigne1.Font().style, forms::kBold);
  EXPECT_FALSE(f.TimerGestionSerie.Enabled());
  EXPECT_EQ(f.ButtonPrecedant.Caption(),
            "&Pr\xE9"
            "c\xE9"
            "dent");
  EXPECT_FALSE(f.ImageConnectAppareilaPC.Visible());
  EXPECT_EQ(f.Caption(), "Mise \xE0 jour V3.5 de votre Satellite de la KST90 SII");
}

}  // namespace
