#pragma once
// A drop-down list; the user's choice sets the item index and then runs the
// select handler.

#include <gtk/gtk.h>

#include "forms/combo_box.h"
#include "forms/gtk/control_peer.h"

namespace forms::gtk {

class ComboBoxPeer final : public ControlPeer {
 public:
  ComboBoxPeer(FormPeer& form, ComboBox& combo);

  GtkComboBoxText* Widget() const { return GTK_COMBO_BOX_TEXT(Outer()); }

 private:
  void Update(Property property) override;
  static void OnChanged(GtkComboBox* combo, gpointer self);

  ComboBox& combo_;
  bool updating_ = false;  // our own changes are not the user's choices
  DeferredCall select_;
};

}  // namespace forms::gtk
