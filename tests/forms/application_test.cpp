#include "forms/application.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/headless/headless_backend.h"
#include "forms/timer.h"

namespace forms {
namespace {

class NamedForm : public Form {
 public:
  NamedForm(Application& app, std::string name, std::vector<std::string>& log)
      : Form(app, std::move(name)), log_(log) {
    OnDestroy = [this](Component*) { log_.push_back("destroy " + Name()); };
  }

 private:
  std::vector<std::string>& log_;
};

TEST(ApplicationTest, OwnsFormsAndDestroysTheLastCreatedFirst) {
  platform::VirtualClock clock;
  HeadlessBackend backend(clock);
  std::vector<std::string> log;
  NamedForm* main = nullptr;
  NamedForm* other = nullptr;
  {
    Application app(backend);
    app.CreateForm(main, "main", log);
    app.CreateForm(other, "other", log);
    EXPECT_EQ(app.MainForm(), main);
    EXPECT_EQ(other->Name(), "other");
  }
  EXPECT_EQ(log, (std::vector<std::string>{"destroy other", "destroy main"}));
  EXPECT_EQ(main, nullptr);
  EXPECT_EQ(other, nullptr);
}

TEST(ApplicationTest, RunShowsTheMainFormAndEndsWhenItCloses) {
  platform::VirtualClock clock;
  HeadlessBackend backend(clock);
  std::vector<std::string> log;
  Application app(backend);
  NamedForm* main = nullptr;
  NamedForm* box = nullptr;
  app.CreateForm(main, "main", log);
  app.CreateForm(box, "box", log);
  backend.SetModalHandler([](Form& form) { form.Close(); });
  backend.SetLoopHandler([&] {
    EXPECT_TRUE(main->Visible());
    EXPECT_EQ(box->ShowModal(), ModalResult::Cancel);  // closed: Cancel
    EXPECT_FALSE(box->Visible());
    EXPECT_FALSE(app.Terminated());
    main->Close();
  });
  app.Run();
  EXPECT_TRUE(app.Terminated());
  EXPECT_FALSE(main->Visible());
  EXPECT_EQ(backend.ModalForms(), (std::vector<std::string>{"box"}));
}

TEST(ApplicationTest, ReportsAFailingHandlerAndGoesOnWithTheLoop) {
  platform::VirtualClock clock;
  HeadlessBackend backend(clock);
  std::vector<std::string> log;
  Application app(backend);
  app.SetTitle("Title");
  NamedForm* main = nullptr;
  app.CreateForm(main, "main", log);
  Timer timer(main, "Timer");
  backend.AttachForm(*main);
  int ticks = 0;
  timer.OnTimer = [&ticks](Component*) {
    if (++ticks == 1) throw std::runtime_error("first tick failed");
  };
  backend.SetLoopHandler([&] { backend.RunFor(2000); });
  app.Run();
  EXPECT_EQ(ticks, 2);
  ASSERT_EQ(backend.Dialogs().size(), 1U);
  EXPECT_EQ(backend.Dialogs()[0].request.caption, "Title");
  EXPECT_EQ(backend.Dialogs()[0].request.text, "first tick failed");
}

TEST(ApplicationTest, HeadlessGeometryFollowsItsDocumentedRule) {
  platform::VirtualClock clock;
  HeadlessBackend backend(clock);
  EXPECT_EQ(backend.TextWidth("abcd", FontSpec{}), 24);
  EXPECT_EQ(backend.TextWidth("abcd", FontSpec{.size = 12, .style = kBold}), 36);
  EXPECT_EQ(backend.OuterWidth(575, BorderStyle::Single), 591);
}

}  // namespace
}  // namespace forms
