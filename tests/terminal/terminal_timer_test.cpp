// The terminal loop's timer keeps its rate: a tick whose handler ran long
// is followed by the next at the interval after its due time, not a whole
// interval after the handler returned, and ticks missed meanwhile fold into one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <vector>

#include "forms/application.h"
#include "forms/terminal/terminal_backend.h"
#include "forms/timer.h"
#include "tests/terminal/terminal_fixture.h"

namespace {

class TickingForm : public forms::Form {
 public:
  explicit TickingForm(forms::Application& app) : Form(app, "TickingForm"), timer(this, "Timer") {
    timer.SetEnabled(false);
  }
  forms::Timer timer;
};

TEST(TerminalTimerTest, TicksKeepTheirRateWhenHandlersRunLong) {
  platform::VirtualClock clock{1000};
  kst_test::VirtualWait wait{clock};
  int input[2];
  ASSERT_EQ(pipe(input), 0);  // held open and silent: the loop only waits for ticks
  forms::TerminalOptions options;
  options.input_fd = input[0];
  std::ostringstream out;
  forms::TerminalBackend backend(clock, out, options, wait, nullptr);
  forms::Application app(backend);
  TickingForm* form = nullptr;
  app.CreateForm(form);

  // Each handler works 92 ms, as a row of eight program words does on the
  // line, except the third, which works 350 ms.
  const std::vector<std::uint32_t> work{92, 92, 350, 92, 92};
  std::vector<std::uint32_t> ticks;
  form->timer.OnTimer = [&](forms::Component*) {
    ticks.push_back(clock.Now());
    if (ticks.size() == work.size()) {
      app.Terminate();
    } else {
      clock.Advance(work[ticks.size() - 1]);
    }
  };
  form->timer.SetInterval(100);
  form->timer.SetEnabled(true);
  app.Run();
  close(input[0]);
  close(input[1]);
  // Due at 1400 and 1500 while the long one ran: one late tick at once,
  // then the next on the 100 ms grid again.
  EXPECT_EQ(ticks, (std::vector<std::uint32_t>{1100, 1200, 1300, 1650, 1742}));
}

}  // namespace
