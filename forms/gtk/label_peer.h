#pragma once
// A label: a GtkLabel inside a clipping box of the control's size, so that
// a fixed-size label cuts its text off at its edges rather than growing,
// and centred or right-aligned text stays where it would be drawn. An
// auto-sized label's box takes the size of its text.

#include <gtk/gtk.h>

#include "forms/gtk/control_peer.h"
#include "forms/label.h"

namespace forms::gtk {

class LabelPeer final : public ControlPeer {
 public:
  LabelPeer(FormPeer& form, Label& label);

  GtkLabel* Widget() const { return GTK_LABEL(label_); }

 private:
  void Update(Property property) override;
  // Sizes the box and places the text in it.
  void Arrange();
  void ApplyCursor();
  static gboolean OnRelease(GtkWidget* box, GdkEventButton* event, gpointer self);
  static void OnRealize(GtkWidget* box, gpointer self);

  Label& label_model_;
  GtkWidget* label_;
};

}  // namespace forms::gtk
