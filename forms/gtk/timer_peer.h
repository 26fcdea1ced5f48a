#pragma once
// A timer: kept armed in the backend's event queue as its Interval and
// Enabled say.

#include "forms/gtk/gtk_backend.h"
#include "forms/timer.h"

namespace forms::gtk {

class TimerPeer final : public ComponentPeer {
 public:
  TimerPeer(GtkBackend& backend, Timer& timer);
  ~TimerPeer() override;
  TimerPeer(const TimerPeer&) = delete;
  TimerPeer& operator=(const TimerPeer&) = delete;

  void Changed(Property property) override;

 private:
  GtkBackend& backend_;
  Timer& timer_;
};

}  // namespace forms::gtk
