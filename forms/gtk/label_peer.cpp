#include "forms/gtk/label_peer.h"

#include "forms/cp1252.h"
#include "forms/gtk/fonts.h"

namespace forms::gtk {

LabelPeer::LabelPeer(FormPeer& form, Label& label)
    : ControlPeer(form, label, gtk_layout_new(nullptr, nullptr)),
      label_model_(label),
      label_(gtk_label_new(nullptr)) {
  gtk_layout_put(GTK_LAYOUT(Outer()), label_, 0, 0);
  gtk_widget_show(label_);
  gtk_widget_add_events(Outer(), GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  Connect(Outer(), "button-release-event", G_CALLBACK(OnRelease), this);
  Connect(Outer(), "realize", G_CALLBACK(OnRealize), this);
  ApplyAll();
}

void LabelPeer::Update(Property property) {
  switch (property) {
    case Property::Caption:
      gtk_label_set_text(Widget(), Cp1252ToUtf8(label_model_.Caption()).c_str());
      Arrange();
      break;
    case Property::Font:
      ApplyFont(Widget(), label_model_.Font());
      Arrange();
      break;
    case Property::Bounds:
    case Property::Alignment:
    case Property::AutoSize:
      Arrange();
      break;
    case Property::Cursor:
      ApplyCursor();
      break;
    default:
      break;
  }
}

void LabelPeer::Arrange() {
  int text_width = 0;
  int text_height = 0;
  gtk_widget_get_preferred_width(label_, nullptr, &text_width);
  gtk_widget_get_preferred_height(label_, nullptr, &text_height);
  const bool auto_size = label_model_.AutoSize();
  const int width = auto_size ? text_width : label_model_.Width();
  gtk_widget_set_size_request(Outer(), width, auto_size ? text_height : label_model_.Height());
  int left = 0;
  switch (label_model_.GetAlignment()) {
    case Alignment::LeftJustify:
      break;
    case Alignment::Center:
      left = (width - text_width) / 2;
      break;
    case Alignment::RightJustify:
      left = width - text_width;
      break;
  }
  gtk_layout_move(GTK_LAYOUT(Outer()), label_, left, 0);
}

void LabelPeer::ApplyCursor() {
  if (!gtk_widget_get_realized(Outer())) return;  // OnRealize applies it
  GdkCursor* cursor = nullptr;
  if (label_model_.GetCursor() == Cursor::HandPoint) {
    cursor = gdk_cursor_new_from_name(gtk_widget_get_display(Outer()), "pointer");
  }
  gdk_window_set_cursor(gtk_layout_get_bin_window(GTK_LAYOUT(Outer())), cursor);
  if (cursor != nullptr) g_object_unref(cursor);
}

void LabelPeer::OnRealize(GtkWidget* /*box*/, gpointer self) {
  static_cast<LabelPeer*>(self)->ApplyCursor();
}

gboolean LabelPeer::OnRelease(GtkWidget* /*box*/, GdkEventButton* event, gpointer self) {
  if (event->button != GDK_BUTTON_PRIMARY) return FALSE;
  auto* peer = static_cast<LabelPeer*>(self);
  peer->form_.RunHandler([peer] { peer->label_model_.Click(); });
  return TRUE;
}

}  // namespace forms::gtk
