#pragma once
// The form library on GTK 3: a window per form holding native widgets at the
// components' positions, and the GLib main loop driving the shared event
// queue. Texts cross into GTK as UTF-8.

#include <cstdint>
#include <functional>
#include <memory>

#include "forms/backend.h"
#include "forms/event_queue.h"
#include "platform/clock.h"

namespace forms::gtk {

class EventSource;

class GtkBackend final : public Backend {
 public:
  // GTK must have been initialised with a display.
  explicit GtkBackend(platform::Clock& clock);
  ~GtkBackend() override;
  GtkBackend(const GtkBackend&) = delete;
  GtkBackend& operator=(const GtkBackend&) = delete;

  // For a virtual clock: whenever the loop has nothing else to do, time is
  // made to pass up to the next tick through skip instead of being waited for.
  void SetTimeSkipper(std::function<void(std::uint32_t ms)> skip);

  // Restarts timer's countdown (the timers' peers call this).
  void ArmTimer(Timer& timer);
  void ForgetTimer(const Timer& timer);
  // Runs the loop, nested or not, until done() holds.
  void RunUntil(const std::function<bool()>& done);

  void AttachForm(Form& form) override;
  void DetachForm(Form& form) override;
  void RunLoop(Application& application) override;
  void RunModal(Form& form) override;
  ModalResult ShowDialog(const DialogRequest& request) override;
  bool Post(Form& form, const Message& message) override;
  int TextWidth(const std::string& text, const FontSpec& font) override;
  int OuterWidth(int client_width, BorderStyle border) override;

 private:
  EventQueue queue_;
  std::unique_ptr<EventSource> source_;
  int attached_forms_ = 0;
};

}  // namespace forms::gtk

namespace forms {

// Initialises GTK and returns its backend; null when no display can be opened.
std::unique_ptr<Backend> CreateGtkBackend(platform::Clock& clock);

}  // namespace forms
