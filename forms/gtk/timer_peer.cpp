#include "forms/gtk/timer_peer.h"

namespace forms::gtk {

TimerPeer::TimerPeer(GtkBackend& backend, Timer& timer) : backend_(backend), timer_(timer) {
  backend_.ArmTimer(timer_);
}

TimerPeer::~TimerPeer() {
  backend_.ForgetTimer(timer_);
}

void TimerPeer::Changed(Property property) {
  if (property == Property::Interval || property == Property::Enabled) backend_.ArmTimer(timer_);
}

}  // namespace forms::gtk
