#pragma once
// A timer. Every change of Interval or Enabled restarts its countdown; the
// backend delivers ticks only while it is enabled with a non-zero interval.

#include <cstdint>

#include "forms/component.h"

namespace forms {

class Timer : public Component {
 public:
  using Component::Component;

  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t interval) {
    interval_ = interval;
    Changed(Property::Interval);
  }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed(Property::Enabled);
  }

  NotifyEvent OnTimer;
  // One tick: runs the handler when the timer is enabled.
  void Tick() {
    if (enabled_ && OnTimer) OnTimer(this);
  }

 private:
  std::uint32_t interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace forms
