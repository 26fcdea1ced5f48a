#pragma once
// A form's window: a toplevel GtkWindow whose client area is a GtkLayout of
// the form's client size, holding the controls' widgets at their positions.
// A layout rather than a GtkFixed, because a control may lie beyond the
// client area and must neither widen the window nor show.

#include <functional>

#include <gtk/gtk.h>

#include "forms/form.h"

namespace forms::gtk {

class FormPeer final : public ComponentPeer {
 public:
  explicit FormPeer(Form& form);
  ~FormPeer() override;
  FormPeer(const FormPeer&) = delete;
  FormPeer& operator=(const FormPeer&) = delete;

  // The peer of a form that has one, else null.
  static FormPeer* Of(const Form& form);

  void Changed(Property property) override;

  Form& GetForm() const { return form_; }
  GtkWindow* Window() const { return GTK_WINDOW(window_); }
  GtkLayout* Client() const { return GTK_LAYOUT(client_); }

  // Runs an event handler as the platform does: whatever it throws is
  // reported in the error box and the loop goes on.
  void RunHandler(const std::function<void()>& handler) const;
  // Tab moves through the controls that take it, in their tab order.
  void UpdateFocusChain();
  // button is pressed by Enter anywhere in the window while it is the default.
  void SetDefaultButton(GtkWidget* button, bool is_default);

 private:
  static gboolean OnDelete(GtkWidget* window, GdkEvent* event, gpointer self);
  void Show();

  Form& form_;
  GtkWidget* window_;
  GtkWidget* client_;
};

}  // namespace forms::gtk
