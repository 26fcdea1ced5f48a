#pragma once
// A list box: a GtkListBox of text rows in a scrolled window, one row
// selected at most. The user's selection sets the item index and then runs
// the click handler.

#include <gtk/gtk.h>

#include "forms/gtk/control_peer.h"
#include "forms/list_box.h"

namespace forms::gtk {

class ListBoxPeer final : public ControlPeer {
 public:
  ListBoxPeer(FormPeer& form, ListBox& list);

  GtkListBox* Widget() const { return GTK_LIST_BOX(list_); }

 private:
  void Update(Property property) override;
  void Rebuild();
  void Select();
  static void OnRowSelected(GtkListBox* list, GtkListBoxRow* row, gpointer self);

  ListBox& list_model_;
  GtkWidget* list_;
  bool updating_ = false;  // our own changes are not the user's clicks
  DeferredCall click_;
};

}  // namespace forms::gtk
