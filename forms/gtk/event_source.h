#pragma once
// The shared event queue as a GLib event source: ready when a message is
// posted or a tick is due, and asleep until then. It may recurse, so that
// the nested loops of modal windows opened by a handler keep dispatching.

#include <cstdint>
#include <functional>

#include <glib.h>

#include "forms/event_queue.h"

namespace forms::gtk {

class EventSource {
 public:
  explicit EventSource(EventQueue& queue);
  ~EventSource();
  EventSource(const EventSource&) = delete;
  EventSource& operator=(const EventSource&) = delete;

  // See GtkBackend::SetTimeSkipper.
  void SetTimeSkipper(std::function<void(std::uint32_t ms)> skip);
  // A timer was (re)armed: time may need skipping again.
  void TimerArmed();
  // Makes a blocked loop look at the queue again.
  void Wake();

 private:
  static gboolean SkipTime(gpointer self);
  void StartSkipping();
  void StopSkipping();

  EventQueue& queue_;
  GSource* source_;
  std::function<void(std::uint32_t)> skip_;
  guint skip_idle_ = 0;
};

}  // namespace forms::gtk
