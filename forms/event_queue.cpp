#include "forms/event_queue.h"

#include <algorithm>
#include <exception>

namespace forms {

EventQueue::EventQueue(std::function<std::uint32_t()> now)
    : now_(std::move(now)), last_reading_(now_()) {}

std::int64_t EventQueue::Now() {
  const std::uint32_t reading = now_();
  // Unsigned difference: correct across the counter's wrap.
  elapsed_ += static_cast<std::uint32_t>(reading - last_reading_);
  last_reading_ = reading;
  return elapsed_;
}

void EventQueue::Post(Form& form, const Message& message) {
  messages_.push_back(Posted{&form, message});
}

void EventQueue::ForgetForm(const Form& form) {
  std::erase_if(messages_, [&form](const Posted& posted) { return posted.form == &form; });
}

void EventQueue::ArmTimer(Timer& timer) {
  ForgetTimer(timer);
  if (!timer.Enabled() || timer.Interval() == 0) return;
  const std::int64_t interval = timer.Interval();
  timers_.push_back(Armed{&timer, Now() + interval, interval});
}

void EventQueue::ForgetTimer(const Timer& timer) {
  std::erase_if(timers_, [&timer](const Armed& armed) { return armed.timer == &timer; });
}

bool EventQueue::DispatchOne() {
  if (!messages_.empty()) {
    Posted posted = messages_.front();
    messages_.pop_front();
    Deliver([&posted] { posted.form->Dispatch(posted.message); });
    return true;
  }
  const std::int64_t now = Now();
  auto due = std::min_element(timers_.begin(), timers_.end(),
                              [](const Armed& a, const Armed& b) { return a.due < b.due; });
  if (due == timers_.end() || due->due > now) return false;
  // The next tick keeps the rate: one interval after this one's due time,
  // skipping the intervals that have already gone by.
  const std::int64_t missed = (now - due->due) / due->interval;
  due->due += (missed + 1) * due->interval;
  Timer* timer = due->timer;  // the handler may re-arm or destroy it
  Deliver([timer] { timer->Tick(); });
  return true;
}

void EventQueue::Deliver(const std::function<void()>& handler) {
  if (!reporter_) {
    handler();
    return;
  }
  try {
    handler();
  } catch (const std::exception& error) {
    reporter_(error.what());
  } catch (...) {
    reporter_("");
  }
}

std::optional<std::uint32_t> EventQueue::TimeToNextTick() {
  if (timers_.empty()) return std::nullopt;
  const std::int64_t now = Now();
  std::int64_t first = timers_.front().due;
  for (const Armed& armed : timers_) first = std::min(first, armed.due);
  return static_cast<std::uint32_t>(std::max<std::int64_t>(0, first - now));
}

}  // namespace forms
