#pragma once
// A push button: its caption's '&' mnemonic works with Alt, the default
// button answers Enter, and the hint shows as a tooltip.

#include <gtk/gtk.h>

#include "forms/button.h"
#include "forms/gtk/control_peer.h"

namespace forms::gtk {

class ButtonPeer final : public ControlPeer {
 public:
  ButtonPeer(FormPeer& form, Button& button);

  GtkButton* Widget() const { return GTK_BUTTON(Outer()); }

 private:
  void Update(Property property) override;
  void ApplyFontToCaption();
  static void OnClicked(GtkButton* button, gpointer self);

  Button& button_;
};

}  // namespace forms::gtk
