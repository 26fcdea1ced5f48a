#include "forms/gtk/combo_box_peer.h"

#include "forms/cp1252.h"

namespace forms::gtk {

ComboBoxPeer::ComboBoxPeer(FormPeer& form, ComboBox& combo)
    : ControlPeer(form, combo, gtk_combo_box_text_new()), combo_(combo) {
  Connect(Outer(), "changed", G_CALLBACK(OnChanged), this);
  ApplyAll();
}

void ComboBoxPeer::Update(Property property) {
  if (property != Property::Items && property != Property::ItemIndex) return;
  updating_ = true;
  if (property == Property::Items) {
    gtk_combo_box_text_remove_all(Widget());
    const StringList& items = combo_.Items();
    for (int i = 0; i < items.Count(); ++i) {
      gtk_combo_box_text_append_text(Widget(), Cp1252ToUtf8(items[i]).c_str());
    }
  }
  gtk_combo_box_set_active(GTK_COMBO_BOX(Outer()), combo_.ItemIndex());
  updating_ = false;
}

void ComboBoxPeer::OnChanged(GtkComboBox* combo, gpointer self) {
  auto* peer = static_cast<ComboBoxPeer*>(self);
  const int index = gtk_combo_box_get_active(combo);
  if (peer->updating_ || index < 0) return;
  peer->select_.Schedule([peer, index] {
    peer->form_.RunHandler([peer, index] {
      peer->combo_.SetItemIndex(index);
      peer->combo_.Select();
    });
  });
}

}  // namespace forms::gtk
