#include "about/Boiteapropos.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/headless_wizard.h"

namespace {

struct Seen {
  std::string caption, ok, country, phone, fax, site, mail;
};

class AboutBoxTest : public ::testing::Test {
 protected:
  // Presses About and notes what the box shows, then closes it with Enter.
  Seen OpenAbout() {
    Seen seen;
    w.backend.SetModalHandler([&](forms::Form& form) {
      auto& box = dynamic_cast<TFormAPropos&>(form);
      seen = {box.Caption(),
              box.ButtonOk.Caption(),
              box.LabelPays.Caption(),
              box.LabelTelephone.Caption(),
              box.LabelTelecopie.Caption(),
              box.LabelNomSite.Caption(),
              box.LabelMel.Caption()};
      EXPECT_TRUE(w.backend.PressEnter(box));
    });
    EXPECT_TRUE(w.backend.Click(wizard->ButtonAPropos));
    return seen;
  }

  kst_test::HeadlessWizard w;
  TFormMj* wizard = &w.Start();
};

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

TEST_F(AboutBoxTest, ShowsItsTextsInTheWizardsLanguageAtEachOpening) {
  wizard->SetLanguage(1);
  Seen english = OpenAbout();
  EXPECT_EQ(english.caption, "About update");
  EXPECT_EQ(english.ok, "&Ok");
  EXPECT_EQ(english.country, "Belgium");
  EXPECT_TRUE(StartsWith(english.phone, "Phone : "));
  EXPECT_TRUE(StartsWith(english.fax, "Fax : "));
  EXPECT_TRUE(StartsWith(english.mail, "Mail : "));
  EXPECT_EQ(english.site, "Site : https://www.voranex.example");

  wizard->SetLanguage(0);
  Seen french = OpenAbout();
  EXPECT_EQ(french.caption, "A propos de la mise \xE0 jour");
  EXPECT_EQ(french.country, "Belgique");
  EXPECT_TRUE(StartsWith(french.phone, "T\xE9l : "));
  EXPECT_TRUE(StartsWith(french.fax,
                         "T\xE9l\xE9"
                         "copie  : "));
  EXPECT_EQ(french.mail, "M\xE8l : support@voranex.example");
  // Same number and address whatever the language.
  EXPECT_EQ(french.phone.substr(6), english.phone.substr(8));
  EXPECT_EQ(w.backend.ModalForms(), (std::vector<std::string>{"FormAPropos", "FormAPropos"}));
  EXPECT_FALSE(FormAPropos->Visible());
}

TEST_F(AboutBoxTest, LinkLabelsOpenTheWebSiteAndAMailToTheMaker) {
  w.backend.SetModalHandler([&](forms::Form&) {
    EXPECT_TRUE(w.backend.Click(FormAPropos->LabelNomSite));
    EXPECT_TRUE(w.backend.Click(FormAPropos->LabelMel));
    EXPECT_TRUE(FormAPropos->Visible());  // the box stays open
  });
  wizard->ButtonAProposClick(nullptr);
  EXPECT_EQ(w.system.opened_urls, (std::vector<std::string>{"https://www.voranex.example",
                                                            "mailto: support@voranex.example"}));
  EXPECT_EQ(FormAPropos->LabelMel.GetCursor(), forms::Cursor::HandPoint);
  EXPECT_TRUE(FormAPropos->LabelMel.Font().style.underline);
}

TEST_F(AboutBoxTest, WizardTimerGoesOnWhileTheBoxIsOpen) {
  const int reads_before = w.port_map.reads();
  w.backend.SetModalHandler([&](forms::Form&) { w.backend.RunFor(3500); });
  wizard->ButtonAProposClick(nullptr);
  EXPECT_EQ(w.port_map.reads() - reads_before, 3);  // one scan a second on step 1
}

TEST_F(AboutBoxTest, SetLanguageIgnoresUnknownIndices) {
  FormAPropos->SetLanguage(1);
  for (int ignored : {2, -1}) {
    FormAPropos->SetLanguage(ignored);
    EXPECT_EQ(FormAPropos->Language, 1);
    EXPECT_EQ(FormAPropos->Caption(), "About update");
  }
}

}  // namespace
