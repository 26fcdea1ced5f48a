#include "forms/gtk/edit_peer.h"

#include "forms/cp1252.h"
#include "forms/gtk/fonts.h"

namespace forms::gtk {

EditPeer::EditPeer(FormPeer& form, Edit& edit)
    : ControlPeer(form, edit, gtk_entry_new()), edit_(edit) {
  // No minimum width of its own: the designed width rules.
  gtk_entry_set_width_chars(Widget(), 0);
  ApplyAll();
}

void EditPeer::Update(Property property) {
  switch (property) {
    case Property::Caption:
      gtk_entry_set_text(Widget(), Cp1252ToUtf8(edit_.Text()).c_str());
      break;
    case Property::ReadOnly:
      gtk_editable_set_editable(GTK_EDITABLE(Outer()), !edit_.ReadOnly());
      break;
    case Property::TabOrder:
      gtk_widget_set_can_focus(Outer(), edit_.TabStop());
      break;
    case Property::Font:
      ApplyFont(Widget(), edit_.Font());
      break;
    case Property::Color: {
      GtkStyleContext* style = gtk_widget_get_style_context(Outer());
      if (edit_.GetColor() == Color::ButtonFace) {
        gtk_style_context_add_class(style, kButtonFaceClass);
      } else {
        gtk_style_context_remove_class(style, kButtonFaceClass);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace forms::gtk
