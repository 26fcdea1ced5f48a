#include "forms/gtk/button_peer.h"

#include "forms/cp1252.h"
#include "forms/gtk/fonts.h"
#include "forms/gtk/mnemonic.h"

namespace forms::gtk {

ButtonPeer::ButtonPeer(FormPeer& form, Button& button)
    : ControlPeer(form, button, gtk_button_new_with_mnemonic("")), button_(button) {
  Connect(Outer(), "clicked", G_CALLBACK(OnClicked), this);
  ApplyAll();
}

void ButtonPeer::Update(Property property) {
  switch (property) {
    case Property::Caption:
      gtk_button_set_label(Widget(), MnemonicLabel(button_.Caption()).c_str());
      ApplyFontToCaption();
      break;
    case Property::Font:
      ApplyFontToCaption();
      break;
    case Property::Default:
      form_.SetDefaultButton(Outer(), button_.Default());
      break;
    case Property::Hint:
      gtk_widget_set_tooltip_text(
          Outer(), button_.ShowHint() ? Cp1252ToUtf8(button_.Hint()).c_str() : nullptr);
      break;
    default:
      break;
  }
}

void ButtonPeer::ApplyFontToCaption() {
  if (auto* caption = GTK_LABEL(gtk_bin_get_child(GTK_BIN(Outer())))) {
    ApplyFont(caption, button_.Font());
  }
}

void ButtonPeer::OnClicked(GtkButton* /*button*/, gpointer self) {
  auto* peer = static_cast<ButtonPeer*>(self);
  peer->form_.RunHandler([peer] { peer->button_.Click(); });
}

}  // namespace forms::gtk
