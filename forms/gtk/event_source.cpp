#include "forms/gtk/event_source.h"

#include <climits>

namespace forms::gtk {
namespace {

struct QueueGSource {
  GSource base;  // first: GLib allocates and frees the whole struct
  EventQueue* queue;
};

EventQueue& QueueOf(GSource* source) {
  return *reinterpret_cast<QueueGSource*>(source)->queue;
}

bool Ready(EventQueue& queue, gint* timeout) {
  if (queue.HasMessages()) {
    *timeout = 0;
    return true;
  }
  const std::optional<std::uint32_t> next = queue.TimeToNextTick();
  if (!next) {
    *timeout = -1;
    return false;
  }
  *timeout = *next > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<gint>(*next);
  return *next == 0;
}

gboolean Prepare(GSource* source, gint* timeout) {
  return Ready(QueueOf(source), timeout) ? TRUE : FALSE;
}

gboolean Check(GSource* source) {
  gint timeout = 0;
  return Ready(QueueOf(source), &timeout) ? TRUE : FALSE;
}

gboolean Dispatch(GSource* source, GSourceFunc /*callback*/, gpointer /*data*/) {
  // One event per pass, so input and redrawing go on between them.
  QueueOf(source).DispatchOne();
  return G_SOURCE_CONTINUE;
}

GSourceFuncs kQueueFuncs = {Prepare, Check, Dispatch, nullptr, nullptr, nullptr};

}  // namespace

EventSource::EventSource(EventQueue& queue)
    : queue_(queue), source_(g_source_new(&kQueueFuncs, sizeof(QueueGSource))) {
  reinterpret_cast<QueueGSource*>(source_)->queue = &queue_;
  g_source_set_can_recurse(source_, TRUE);
  g_source_set_name(source_, "kst event queue");
  g_source_attach(source_, nullptr);
}

EventSource::~EventSource() {
  StopSkipping();
  g_source_destroy(source_);
  g_source_unref(source_);
}

void EventSource::SetTimeSkipper(std::function<void(std::uint32_t ms)> skip) {
  skip_ = std::move(skip);
  if (skip_) {
    StartSkipping();
  } else {
    StopSkipping();
  }
}

void EventSource::TimerArmed() {
  if (skip_) StartSkipping();
  Wake();
}

void EventSource::Wake() {
  g_main_context_wakeup(g_source_get_context(source_));
}

void EventSource::StartSkipping() {
  // Lowest priority: only once input, redrawing and due events are done.
  if (skip_idle_ == 0) skip_idle_ = g_idle_add_full(G_PRIORITY_LOW, SkipTime, this, nullptr);
}

void EventSource::StopSkipping() {
  if (skip_idle_ != 0) g_source_remove(skip_idle_);
  skip_idle_ = 0;
}

gboolean EventSource::SkipTime(gpointer self) {
  auto* source = static_cast<EventSource*>(self);
  const std::optional<std::uint32_t> next = source->queue_.TimeToNextTick();
  if (!next) {
    // No timer runs: nothing to skip to until one is armed.
    source->skip_idle_ = 0;
    return G_SOURCE_REMOVE;
  }
  if (*next > 0) source->skip_(*next);
  return G_SOURCE_CONTINUE;
}

}  // namespace forms::gtk
