#pragma once
// The posted-message queue and the timers, for backends without native
// ones. One thread. Posted messages go before timer ticks. A timer keeps its
// rate: its next tick is due one interval after the previous tick's due
// time, and ticks missed while a handler ran long fold into a single one.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/timer.h"

namespace forms {

class EventQueue {
 public:
  // now: a millisecond counter that may wrap modulo 2^32.
  explicit EventQueue(std::function<std::uint32_t()> now);

  void Post(Form& form, const Message& message);
  // Drops the messages queued for form.
  void ForgetForm(const Form& form);

  // Restarts timer's countdown from now, or stops it when it is disabled or
  // its interval is 0. Timer peers call this on every change.
  void ArmTimer(Timer& timer);
  void ForgetTimer(const Timer& timer);

  // Handles one posted message, or else one tick of the timer due first;
  // false when nothing is ready now. An exception escaping the handler goes
  // to the reporter when one is set, and the loop goes on; without one it
  // propagates.
  bool DispatchOne();
  void SetErrorReporter(std::function<void(const std::string&)> reporter) {
    reporter_ = std::move(reporter);
  }
  // Milliseconds until the next tick is due (0 when one is due already);
  // nullopt when no timer runs.
  std::optional<std::uint32_t> TimeToNextTick();
  bool HasMessages() const { return !messages_.empty(); }

 private:
  struct Posted {
    Form* form;
    Message message;
  };
  struct Armed {
    Timer* timer;
    std::int64_t due;
    std::int64_t interval;
  };

  std::int64_t Now();

  void Deliver(const std::function<void()>& handler);

  std::function<std::uint32_t()> now_;
  std::function<void(const std::string&)> reporter_;
  std::uint32_t last_reading_;
  std::int64_t elapsed_ = 0;  // unwrapped time since construction
  std::deque<Posted> messages_;
  std::vector<Armed> timers_;
};

}  // namespace forms
