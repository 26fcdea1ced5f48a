#include "forms/gtk/gtk_backend.h"

#include <gtk/gtk.h>

#include <vector>

#include "forms/application.h"
#include "forms/cp1252.h"
#include "forms/gtk/button_peer.h"
#include "forms/gtk/combo_box_peer.h"
#include "forms/gtk/edit_peer.h"
#include "forms/gtk/event_source.h"
#include "forms/gtk/fonts.h"
#include "forms/gtk/form_peer.h"
#include "forms/gtk/image_peer.h"
#include "forms/gtk/label_peer.h"
#include "forms/gtk/list_box_peer.h"
#include "forms/gtk/message_box.h"
#include "forms/gtk/progress_bar_peer.h"
#include "forms/gtk/timer_peer.h"

namespace forms::gtk {
namespace {

// Frame on either side of a window whose real frame is not known yet.
constexpr int kAssumedFrameWidth = 3;

std::unique_ptr<ComponentPeer> CreatePeer(FormPeer& form, GtkBackend& backend,
                                          Component& component) {
  if (auto* label = dynamic_cast<Label*>(&component))
    return std::make_unique<LabelPeer>(form, *label);
  if (auto* button = dynamic_cast<Button*>(&component)) {
    return std::make_unique<ButtonPeer>(form, *button);
  }
  if (auto* edit = dynamic_cast<Edit*>(&component)) return std::make_unique<EditPeer>(form, *edit);
  if (auto* list = dynamic_cast<ListBox*>(&component)) {
    return std::make_unique<ListBoxPeer>(form, *list);
  }
  if (auto* combo = dynamic_cast<ComboBox*>(&component)) {
    return std::make_unique<ComboBoxPeer>(form, *combo);
  }
  if (auto* bar = dynamic_cast<ProgressBar*>(&component)) {
    return std::make_unique<ProgressBarPeer>(form, *bar);
  }
  if (auto* image = dynamic_cast<Image*>(&component))
    return std::make_unique<ImagePeer>(form, *image);
  if (auto* timer = dynamic_cast<Timer*>(&component)) {
    return std::make_unique<TimerPeer>(backend, *timer);
  }
  return nullptr;  // not visual, like an action
}

// Our toplevel windows on screen, in the order GTK lists them.
std::vector<GtkWindow*> ShownWindows() {
  std::vector<GtkWindow*> shown;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWidget* window = GTK_WIDGET(item->data);
    if (gtk_widget_get_mapped(window) &&
        gtk_style_context_has_class(gtk_widget_get_style_context(window), kWindowClass)) {
      shown.push_back(GTK_WINDOW(window));
    }
  }
  g_list_free(windows);
  return shown;
}

}  // namespace

GtkBackend::GtkBackend(platform::Clock& clock)
    : queue_([&clock] { return clock.GetTickCount(); }),
      source_(std::make_unique<EventSource>(queue_)) {
  InstallStyleSheet();
}

GtkBackend::~GtkBackend() = default;

void GtkBackend::SetTimeSkipper(std::function<void(std::uint32_t ms)> skip) {
  source_->SetTimeSkipper(std::move(skip));
}

void GtkBackend::ArmTimer(Timer& timer) {
  queue_.ArmTimer(timer);
  source_->TimerArmed();
}

void GtkBackend::ForgetTimer(const Timer& timer) {
  queue_.ForgetTimer(timer);
}

void GtkBackend::RunUntil(const std::function<bool()>& done) {
  while (!done()) g_main_context_iteration(nullptr, TRUE);
}

void GtkBackend::AttachForm(Form& form) {
  if (attached_forms_++ == 0) {
    // Nothing may unwind through GLib: a failing handler is reported, as
    // the platform's application object does, and the loop goes on.
    Application* application = &form.App();
    queue_.SetErrorReporter(
        [application](const std::string& message) { application->ShowException(message); });
  }
  auto peer = std::make_unique<FormPeer>(form);
  FormPeer& form_peer = *peer;
  form.SetPeer(std::move(peer));
  for (Component* component : form.Components()) {
    component->SetPeer(CreatePeer(form_peer, *this, *component));
  }
  form_peer.UpdateFocusChain();
}

void GtkBackend::DetachForm(Form& form) {
  queue_.ForgetForm(form);
  if (--attached_forms_ == 0) queue_.SetErrorReporter(nullptr);
}

void GtkBackend::RunLoop(Application& application) {
  RunUntil([&application] { return application.Terminated(); });
}

void GtkBackend::RunModal(Form& form) {
  const Application& application = form.App();
  RunUntil([&form, &application] {
    return form.GetModalResult() != ModalResult::None || !form.Visible() ||
           application.Terminated();
  });
  // An application that ends takes its modal windows down with it.
  if (form.GetModalResult() == ModalResult::None) form.SetModalResult(ModalResult::Cancel);
}

ModalResult GtkBackend::ShowDialog(const DialogRequest& request) {
  // Over the modal window shown, else over the wizard.
  GtkWindow* owner = nullptr;
  for (GtkWindow* window : ShownWindows()) {
    if (owner == nullptr || gtk_window_get_modal(window)) owner = window;
  }
  return RunMessageBox(request, owner,
                       [this](const std::function<bool()>& done) { RunUntil(done); });
}

bool GtkBackend::Post(Form& form, const Message& message) {
  queue_.Post(form, message);
  source_->Wake();
  return true;
}

int GtkBackend::TextWidth(const std::string& text, const FontSpec& font) {
  return MeasureText(Cp1252ToUtf8(text), font);
}

int GtkBackend::OuterWidth(int client_width, BorderStyle /*border*/) {
  // The frame that the window manager puts around a window shown already.
  const std::vector<GtkWindow*> shown = ShownWindows();
  if (!shown.empty()) {
    GdkWindow* client = gtk_widget_get_window(GTK_WIDGET(shown.front()));
    GdkRectangle frame;
    gdk_window_get_frame_extents(client, &frame);
    return client_width + (frame.width - gdk_window_get_width(client));
  }
  return client_width + 2 * kAssumedFrameWidth;
}

}  // namespace forms::gtk

namespace forms {

std::unique_ptr<Backend> CreateGtkBackend(platform::Clock& clock) {
  // GTK would otherwise switch the C library to the user's locale, and the
  // wizard's percentages and seconds would print "28,5" under French. It may
  // be said only before GTK's first initialisation.
  static const bool locale_kept = [] {
    gtk_disable_setlocale();
    return true;
  }();
  (void)locale_kept;
  if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  return std::make_unique<gtk::GtkBackend>(clock);
}

}  // namespace forms
