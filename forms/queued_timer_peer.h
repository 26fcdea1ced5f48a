#pragma once
// A timer's peer for the backends whose timers live in an EventQueue: keeps
// the queue's copy of the timer in step with its Interval and Enabled.

#include "forms/component.h"
#include "forms/event_queue.h"
#include "forms/timer.h"

namespace forms {

class QueuedTimerPeer final : public ComponentPeer {
 public:
  QueuedTimerPeer(EventQueue& queue, Timer& timer) : queue_(queue), timer_(timer) {
    queue_.ArmTimer(timer_);
  }
  ~QueuedTimerPeer() override { queue_.ForgetTimer(timer_); }
  QueuedTimerPeer(const QueuedTimerPeer&) = delete;
  QueuedTimerPeer& operator=(const QueuedTimerPeer&) = delete;

  void Changed(Property property) override {
    if (property == Property::Interval || property == Property::Enabled) queue_.ArmTimer(timer_);
  }

 private:
  EventQueue& queue_;
  Timer& timer_;
};

}  // namespace forms
