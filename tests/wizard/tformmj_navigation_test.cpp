// Construction, the moves between steps, the language change and Quit.
#include <gtest/gtest.h>

#include <string>

#include "forms/text.h"
#include "tests/support/headless_wizard.h"

namespace {

class NavigationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.port_map.Set({{"\\Device\\Serial0", "COM1"}, {"\\Device\\Silabser0", "COM4"}});
  }
  TFormMj& GoTo(int step) {
    TFormMj& f = w.Start();
    while (f.Step < step) f.NextStep();
    return f;
  }
  kst_test::HeadlessWizard w;
};

TEST_F(NavigationTest, NewFormStartsOnStepOneInFrench) {
  TFormMj& f = w.Start();
  EXPECT_EQ(f.Step, 1);
  EXPECT_EQ(f.Language, 0);
  EXPECT_EQ(f.SubStep, 0);
  EXPECT_EQ(f.ImageWidth, 362);
  EXPECT_EQ(f.SelectedPort, 0);
  EXPECT_EQ(f.NextLine, 0);
  for (const char* row : f.ImageLines) ASSERT_EQ(row, nullptr);
  EXPECT_EQ(f.PreferredPort, "COM4 : VORANEX");
  EXPECT_TRUE(f.PortList->Sorted());
  EXPECT_EQ(f.TimerGestionSerie.Interval(), 1000U);
  EXPECT_TRUE(f.TimerGestionSerie.Enabled());
  EXPECT_FALSE(f.ListBoxSelectLangPort.MultiSelect());
  EXPECT_FALSE(f.ListBoxSelectLangPort.ExtendedSelect());
  EXPECT_FALSE(f.ListBoxSelectLangPort.Sorted());
  EXPECT_EQ(f.ClientWidth(), 575);
  EXPECT_EQ(f.ClientHeight(), 421);
  EXPECT_EQ(f.ButtonQuitter.Hint(), "permet de quitter la mise \xE0 jours");
  EXPECT_EQ(f.EditEtape.Text(), "Etape n\xB0 1 sur 10");
}

TEST_F(NavigationTest, NextOnThePortStepNeedsASelectedEntry) {
  w.port_map.Set({{"\\Device\\Serial0", "COM1"}});
  TFormMj& f = GoTo(5);
  const std::string title = f.LabelTitreEtape.Caption();
  ASSERT_TRUE(w.backend.Click(f.ButtonSuivant));
  EXPECT_EQ(f.Step, 5);
  EXPECT_EQ(f.LabelTitreEtape.Caption(), title);
  ASSERT_TRUE(w.backend.ClickItem(f.ListBoxSelectLangPort, 0));
  EXPECT_EQ(f.SelectedPort, 1);
  ASSERT_TRUE(w.backend.Click(f.ButtonSuivant));
  EXPECT_EQ(f.Step, 6);
}

TEST_F(NavigationTest, ListClickBesideTheEntriesNamesNoPort) {
  TFormMj& f = GoTo(5);
  f.ListBoxSelectLangPort.SetItemIndex(-1);
  f.ListBoxSelectLangPortClick(nullptr);
  EXPECT_EQ(f.SelectedPort, -1);
}

TEST_F(NavigationTest, PreviousWalksBackAndIsDisabledOnStepOne) {
  TFormMj& f = GoTo(5);
  for (int step = 4; step >= 1; --step) {
    ASSERT_TRUE(w.backend.Click(f.ButtonPrecedant));
    EXPECT_EQ(f.Step, step);
    EXPECT_EQ(f.EditEtape.Text(), forms::Format("Etape n\xB0 %d sur 10", step));
  }
  EXPECT_FALSE(w.backend.Click(f.ButtonPrecedant));
  EXPECT_EQ(f.Step, 1);
}

TEST_F(NavigationTest, BeyondTheLastStepNothingShowsUntilPrevious) {
  TFormMj& f = GoTo(10);
  f.NextStep();
  EXPECT_EQ(f.Step, 11);
  EXPECT_EQ(f.EditEtape.Text(), "Etape n\xB0 10 sur 10");
  f.ButtonPrecedantClick(nullptr);
  EXPECT_EQ(f.Step, 10);
  EXPECT_EQ(f.ButtonPrecedant.Caption(), "&Oui");
}

TEST_F(NavigationTest, YesOnTheResultStepOffersAnotherDeviceOnTheSamePort) {
  TFormMj& f = GoTo(10);
  ASSERT_TRUE(w.backend.Click(f.ButtonPrecedant));
  EXPECT_EQ(f.Step, 6);
  EXPECT_EQ(f.ButtonSuivant.Caption(), "&Connexion");
  EXPECT_EQ(f.ListBoxSelectLangPort.ItemIndex(), 1);
  ASSERT_TRUE(w.backend.Click(f.ButtonSuivant));
  EXPECT_EQ(f.Step, 7);
  EXPECT_EQ(f.Link.GetPort(), 4);
}

TEST_F(NavigationTest, AfterARefusalStepsSixAndSevenOfferNoCancel) {
  TFormMj& f = GoTo(8);
  // What the outcome handlers do on Yes.
  f.Step = 5;
  f.NextStep();
  EXPECT_EQ(f.Step, 6);
  EXPECT_FALSE(f.ButtonPrecedant.Visible());
  EXPECT_TRUE(f.ButtonSuivant.Visible());
  f.NextStep();
  EXPECT_FALSE(f.ButtonPrecedant.Visible());
}

TEST_F(NavigationTest, SetLanguageIgnoresTheCurrentAndUnknownIndices) {
  TFormMj& f = w.Start();
  f.LabelLigne2.SetCaption("marker");
  for (int ignored : {0, 2, -1}) {
    f.SetLanguage(ignored);
    EXPECT_EQ(f.LabelLigne2.Caption(), "marker") << ignored;
    EXPECT_EQ(f.Language, 0);
  }
  f.SetLanguage(1);
  EXPECT_EQ(f.Language, 1);
  EXPECT_EQ(f.LabelLigne2.Caption(), "Choice Of Language");
  EXPECT_EQ(f.ButtonSuivant.Caption(), "&Next");
}

TEST_F(NavigationTest, LanguageListClickSwitchesOnlyOnStepOne) {
  TFormMj& f = w.Start();
  ASSERT_TRUE(w.backend.ClickItem(f.ListBoxSelectLangPort, 1));
  EXPECT_EQ(f.Language, 1);
  EXPECT_EQ(f.LabelTitreEtape.Caption(), "Update of your Satellite de la KST90 SII");
  EXPECT_EQ(f.Caption(), "Update V3.5 of Satellite de la KST90 SII");
  // Steps other than 1 and 5 ignore the list, even if clicked.
  f.NextStep();
  f.ListBoxSelectLangPort.SetItemIndex(0);
  f.ListBoxSelectLangPortClick(nullptr);
  EXPECT_EQ(f.Language, 1);
  EXPECT_EQ(f.SelectedPort, 0);
}

TEST_F(NavigationTest, QuitClosesTheWindowAndEndsTheProgram) {
  TFormMj& f = GoTo(7);
  ASSERT_TRUE(w.backend.Click(f.ButtonQuitter));
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(w.app.Terminated());
}

TEST_F(NavigationTest, QuitIsDisabledWhileTheDeviceIsCheckedAndProgrammed) {
  TFormMj& f = GoTo(8);
  EXPECT_FALSE(w.backend.Click(f.ButtonQuitter));
  f.NextStep();
  EXPECT_FALSE(w.backend.Click(f.ButtonQuitter));
  EXPECT_FALSE(w.app.Terminated());
}

}  // namespace
