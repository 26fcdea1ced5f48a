// How a form and a message box read in the terminal, and the keys they take.
#include "forms/terminal/screen.h"

#include <gtest/gtest.h>

#include "forms/application.h"
#include "forms/edit.h"
#include "forms/headless/headless_backend.h"
#include "forms/label.h"

namespace {

using forms::ModalResult;

TEST(AssignKeysTest, MnemonicFirstThenNextFreeLetter) {
  struct Case {
    std::vector<std::string> captions;
    std::vector<char> keys;
  };
  const Case cases[] = {
      {{"&Quitter",
        "&Pr\xE9"
        "c\xE9"
        "dent",
        "&Suivant"},
       {'Q', 'P', 'S'}},
      {{"E&xit", "&Next"}, {'X', 'N'}},
      {{"&A propos", "&Annuler"}, {'A', 'N'}},  // the second gives way
      {{"OK"}, {'O'}},                          // no mnemonic: the first letter
      {{"&&Co", "C&&"}, {'C', 0}},              // "&&" is a plain '&'
      {{"ab", "ab", "ab"}, {'A', 'B', 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(forms::AssignKeys(c.captions), c.keys) << c.captions[0];
}

class TinyForm : public forms::Form {
 public:
  explicit TinyForm(forms::Application& app)
      : forms::Form(app, "Tiny"),
        title(this, "title"),
        hidden(this, "hidden"),
        note(this, "note"),
        list(this, "list"),
        counter(this, "counter"),
        back(this, "back"),
        next(this, "next"),
        off(this, "off") {
    SetCaption("Fen\xEAtre");
    SetClientSize(300, 200);
    title.SetBounds(0, 10, 100, 20);
    title.SetCaption("Titre");
    title.SetFontStyle(forms::kBold);
    title.SetAlignment(forms::Alignment::Center);
    hidden.SetBounds(0, 40, 100, 13);
    hidden.SetCaption("cach\xE9");
    hidden.SetVisible(false);
    note.SetBounds(0, 60, 100, 13);
    note.SetCaption("Choisir :");
    list.SetBounds(120, 58, 60, 80);  // beside the note, reaching lower
    list.AddItem("COM1");
    list.AddItem("COM3 : VORANEX");
    list.SetItemIndex(1);
    counter.SetBounds(0, 170, 80, 20);
    counter.SetText("1/2");
    back.SetBounds(100, 170, 60, 20);
    back.SetCaption("&Retour");
    next.SetBounds(200, 170, 60, 20);
    next.SetCaption("&Suite");
    off.SetBounds(400, 170, 60, 20);  // outside the window
    off.SetCaption("&Loin");
  }
  forms::Label title, hidden, note;
  forms::ListBox list;
  forms::Edit counter;
  forms::Button back, next, off;
};

TEST(ComposeFormTest, ReadsTopToBottomWithButtonsLast) {
  platform::VirtualClock clock;
  forms::HeadlessBackend backend(clock);
  forms::Application app(backend);
  TinyForm form(app);
  const forms::Screen screen = forms::ComposeForm(form, 21, false);
  EXPECT_EQ(screen.Text(),
            "==== Fen\xC3\xAAtre ====\n"
            "        Titre\n"
            "Choisir :\n"
            "   1) COM1\n"
            " * 2) COM3 : VORANEX\n"
            "1/2\n"
            "[R]etour  <[S]uite>\n");
  EXPECT_EQ(screen.list, &form.list);
  EXPECT_EQ(forms::ComposeForm(form, 21, true).lines[1], "        \x1b[1mTitre\x1b[0m");

  // Enter is the way forward only while it can be pressed; a default button wins.
  form.next.SetEnabled(false);
  EXPECT_EQ(forms::ComposeForm(form, 21, false).enter, -1);
  form.back.SetDefault(true);
  const forms::Screen with_default = forms::ComposeForm(form, 21, false);
  ASSERT_EQ(with_default.enter, 0);
  EXPECT_EQ(with_default.buttons[0].button, &form.back);
}

TEST(ComposeDialogTest, TextLinesWithoutCarriageReturnsAndFirstButtonForEnter) {
  forms::DialogRequest request;
  request.caption = "Erreur";
  request.text = "Un.\n\r  Deux\n\n";
  request.button_labels = forms::DialogButtons(forms::MsgDlgButtons::YesNo);
  const forms::Screen screen = forms::ComposeDialog(request);
  EXPECT_EQ(screen.Text(), "[Erreur]\nUn.\n  Deux\n<[O]ui>  [N]on\n");
  EXPECT_EQ(screen.buttons[1].result, ModalResult::No);
}

TEST(ProgressLineTest, PercentOfTheRangeAndTimeLeft) {
  platform::VirtualClock clock;
  forms::HeadlessBackend backend(clock);
  forms::Application app(backend);
  forms::Form form(app, "f");
  forms::ProgressBar bar(&form, "bar");
  bar.SetMin(20);
  bar.SetMax(60);
  bar.SetPosition(30);
  EXPECT_EQ(forms::ProgressLine(bar, 61500),
            "[##########..............................]  25 %  1:02 left");
  bar.SetPosition(60);
  EXPECT_EQ(forms::ProgressLine(bar, std::nullopt),
            "[########################################] 100 %");
}

}  // namespace
