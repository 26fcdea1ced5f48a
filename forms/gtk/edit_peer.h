#pragma once
// A single-line text box; read-only ones take no typing, and one without a
// tab stop takes no focus at all.

#include <gtk/gtk.h>

#include "forms/edit.h"
#include "forms/gtk/control_peer.h"

namespace forms::gtk {

class EditPeer final : public ControlPeer {
 public:
  EditPeer(FormPeer& form, Edit& edit);

  GtkEntry* Widget() const { return GTK_ENTRY(Outer()); }

 private:
  void Update(Property property) override;

  Edit& edit_;
};

}  // namespace forms::gtk
