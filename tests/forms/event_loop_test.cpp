// Scheduling of posted messages and timer ticks, and the modal loops, as
// the headless backend runs them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/headless/headless_backend.h"
#include "forms/message_dlg.h"
#include "forms/timer.h"

namespace forms {
namespace {

class LoggingForm : public Form {
 public:
  LoggingForm(Application& app, std::vector<std::string>& log)
      : Form(app, "LoggingForm"), timer(this, "Timer"), log_(log) {
    timer.SetEnabled(false);
    timer.OnTimer = [this](Component*) { log_.push_back("tick@" + Now()); };
  }
  void Dispatch(Message& message) override {
    log_.push_back("msg" + std::to_string(message.Msg) + "/" + std::to_string(message.WParam) +
                   "@" + Now());
  }
  std::string Now() const {
    return std::to_string(dynamic_cast<HeadlessBackend&>(App().GetBackend()).Clock().Now());
  }

  Timer timer;

 private:
  std::vector<std::string>& log_;
};

struct Fixture {
  Fixture() : form(app.CreateForm(form_ref, log)) {}
  platform::VirtualClock clock{1000};
  HeadlessBackend backend{clock};
  Application app{backend};
  std::vector<std::string> log;
  LoggingForm* form_ref = nullptr;
  LoggingForm& form;
};

TEST(EventLoopTest, PostedMessageGoesBeforeADueTick) {
  Fixture f;
  f.form.timer.OnTimer = [&f](Component*) {
    f.log.push_back("tick@" + f.form.Now());
    if (f.log.size() == 1) PostMessage(f.form, 1030, 7);
  };
  f.form.timer.SetInterval(100);
  f.form.timer.SetEnabled(true);
  f.form.timer.OnTimer(nullptr);  // stands for a handler that ran long: the next tick is due
  f.clock.Advance(100);
  f.backend.RunFor(0);
  EXPECT_EQ(f.log, (std::vector<std::string>{"tick@1000", "msg1030/7@1100", "tick@1100"}));
}

TEST(EventLoopTest, TimerKeepsItsRateAndFoldsMissedTicks) {
  Fixture f;
  int ticks = 0;
  f.form.timer.OnTimer = [&](Component*) {
    f.log.push_back("tick@" + f.form.Now());
    // The second tick's handler runs for 350 ms: three due times go by.
    if (++ticks == 2) f.clock.Advance(350);
  };
  f.form.timer.SetInterval(100);
  f.form.timer.SetEnabled(true);
  f.backend.RunFor(600);
  // Once late at 1550 (due 1500), then back on the 100 ms grid, no burst.
  EXPECT_EQ(f.log, (std::vector<std::string>{"tick@1100", "tick@1200", "tick@1550", "tick@1600"}));
}

TEST(EventLoopTest, ChangingIntervalOrEnabledRestartsTheCountdown) {
  Fixture f;
  f.form.timer.SetInterval(1000);
  f.form.timer.SetEnabled(true);
  f.backend.RunFor(900);
  f.form.timer.SetInterval(200);  // now 1900: due at 2100
  f.backend.RunFor(250);
  f.form.timer.SetEnabled(false);
  f.backend.RunFor(1000);
  f.form.timer.SetEnabled(true);  // now 3150: due at 3350
  f.backend.RunFor(200);
  EXPECT_EQ(f.log, (std::vector<std::string>{"tick@2100", "tick@3350"}));
}

TEST(EventLoopTest, ClockWrapDoesNotStopTimers) {
  Fixture f;
  f.clock.Advance(0xFFFFFFFFU - 1000 - 50);  // 50 ms before the counter wraps
  f.form.timer.SetInterval(100);
  f.form.timer.SetEnabled(true);
  f.backend.RunFor(250);
  EXPECT_EQ(f.log, (std::vector<std::string>{"tick@49", "tick@149"}));
}

TEST(EventLoopTest, TicksAndMessagesGoOnWhileAMessageBoxIsOpen) {
  Fixture f;
  f.form.timer.SetInterval(200);
  f.form.timer.SetEnabled(true);
  f.backend.SetDialogHandler([&f](const DialogRequest& request) {
    EXPECT_EQ(request.caption, "Erreur");
    PostMessage(f.form, 1025, 1);
    f.backend.RunFor(450);
    return ModalResult::Yes;
  });
  EXPECT_EQ(MessageDlg(f.app, "text", MsgDlgType::Error, MsgDlgButtons::YesNo), ModalResult::Yes);
  EXPECT_EQ(f.log, (std::vector<std::string>{"msg1025/1@1000", "tick@1200", "tick@1400"}));
  ASSERT_EQ(f.backend.Dialogs().size(), 1U);
  EXPECT_EQ(f.backend.Dialogs()[0].request.button_labels,
            (std::vector<std::pair<std::string, ModalResult>>{{"&Oui", ModalResult::Yes},
                                                              {"&Non", ModalResult::No}}));
}

TEST(EventLoopTest, MessageBoxesTakeQueuedAnswersThenCloseAsNoOrOk) {
  Fixture f;
  f.backend.QueueAnswer(ModalResult::Yes);
  EXPECT_EQ(MessageDlg(f.app, "1", MsgDlgType::Information, MsgDlgButtons::YesNo),
            ModalResult::Yes);
  EXPECT_EQ(MessageDlg(f.app, "2", MsgDlgType::Information, MsgDlgButtons::YesNo), ModalResult::No);
  EXPECT_EQ(MessageDlg(f.app, "3", MsgDlgType::Information, MsgDlgButtons::Ok), ModalResult::Ok);
  EXPECT_EQ(f.backend.Dialogs()[2].request.caption, "Information");
  EXPECT_EQ(f.backend.Dialogs()[2].request.button_labels.at(0).first, "OK");
}

TEST(EventLoopTest, RunUntilStopsWhenDoneOrAtTheLimit) {
  Fixture f;
  f.form.timer.SetInterval(100);
  f.form.timer.SetEnabled(true);
  EXPECT_TRUE(f.backend.RunUntil([&f] { return f.log.size() == 3; }, 1000));
  EXPECT_EQ(f.clock.Now(), 1300U);
  EXPECT_FALSE(f.backend.RunUntil([] { return false; }, 250));
  EXPECT_EQ(f.clock.Now(), 1550U);
}

TEST(EventLoopTest, DestroyedFormsAndTimersLeaveNothingBehind) {
  platform::VirtualClock clock;
  HeadlessBackend backend(clock);
  std::vector<std::string> log;
  {
    Application app(backend);
    LoggingForm* form = nullptr;
    app.CreateForm(form, log);
    form->timer.SetEnabled(true);
    PostMessage(*form, 1030, 0);
  }
  backend.RunFor(5000);
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace forms
