// Start-up through RunProgram on the headless backend.
#include "app/run_program.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/headless_wizard.h"

namespace {

const char* const kSettingsPath = "C:\\WINDOWS\\ZerbiumV1.CFG";

class RunProgramTest : public ::testing::Test {
 protected:
  // Runs the program; the loop handler notes the wizard's language and quits.
  int Run() {
    w.backend.SetLoopHandler([this] {
      ++loops;
      language = FormMj->Language;
      caption = FormMj->LabelTitreEtape.Caption();
      EXPECT_TRUE(FormMj->Visible());
      EXPECT_NE(FormAPropos, nullptr);
      EXPECT_TRUE(w.backend.Click(FormMj->ButtonQuitter));
    });
    return RunProgram(w.backend, w.services);
  }

  kst_test::HeadlessWizard w;
  int loops = 0;
  int language = -1;
  std::string caption;
};

TEST_F(RunProgramTest, WithoutSettingsFileTheWizardOpensInFrench) {
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(loops, 1);
  EXPECT_EQ(language, 0);
  EXPECT_EQ(caption, "Mise \xE0 jour du Satellite de la KST90 SII");
  EXPECT_TRUE(w.backend.Dialogs().empty());
  // The application object destroyed both forms and cleared their references.
  EXPECT_EQ(FormMj, nullptr);
  EXPECT_EQ(FormAPropos, nullptr);
}

TEST_F(RunProgramTest, LanguageFromTheSettingsFile) {
  struct Case {
    const char* contents;
    int language;
  };
  for (const Case& c :
       {Case{"Mode=3;Langue = 1 ;", 1}, Case{"Langue=0;", 0}, Case{"Langue=2;", 0}}) {
    kst_test::HeadlessWizard run;
    run.system.files[kSettingsPath] = c.contents;
    int seen = -1;
    run.backend.SetLoopHandler([&] {
      seen = FormMj->Language;
      FormMj->Close();
    });
    EXPECT_EQ(RunProgram(run.backend, run.services), 0);
    EXPECT_EQ(seen, c.language) << c.contents;
  }
}

TEST_F(RunProgramTest, UnopenableSettingsFileEndsTheProgramWithOneErrorBox) {
  w.system.locked.insert(kSettingsPath);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(loops, 0);  // the wizard was never shown
  ASSERT_EQ(w.backend.Dialogs().size(), 1U);
  const forms::DialogRequest& box = w.backend.Dialogs()[0].request;
  EXPECT_EQ(box.caption, "Kst90VIIMj3_5Daz");
  EXPECT_EQ(box.text, std::string("Impossible d'ouvrir le fichier ") + kSettingsPath);
  EXPECT_EQ(box.kind, forms::MsgDlgType::Error);
  EXPECT_EQ(box.buttons, forms::MsgDlgButtons::Ok);
}

TEST_F(RunProgramTest, FailureOfAnotherKindLeavingTheLoopShowsAnEmptyErrorBox) {
  w.backend.SetLoopHandler([] { throw 42; });
  EXPECT_EQ(RunProgram(w.backend, w.services), 0);
  ASSERT_EQ(w.backend.Dialogs().size(), 1U);
  EXPECT_EQ(w.backend.Dialogs()[0].request.caption, "Kst90VIIMj3_5Daz");
  EXPECT_EQ(w.backend.Dialogs()[0].request.text, "");
}

}  // namespace
