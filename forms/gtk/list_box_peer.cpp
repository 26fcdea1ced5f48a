#include "forms/gtk/list_box_peer.h"

#include "forms/cp1252.h"
#include "forms/gtk/fonts.h"

namespace forms::gtk {

ListBoxPeer::ListBoxPeer(FormPeer& form, ListBox& list)
    : ControlPeer(form, list, gtk_scrolled_window_new(nullptr, nullptr)),
      list_model_(list),
      list_(gtk_list_box_new()) {
  GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(Outer());
  gtk_scrolled_window_set_policy(scrolled, GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(scrolled, GTK_SHADOW_IN);
  gtk_list_box_set_selection_mode(Widget(), GTK_SELECTION_SINGLE);
  gtk_container_add(GTK_CONTAINER(Outer()), list_);
  gtk_widget_show(list_);
  Connect(list_, "row-selected", G_CALLBACK(OnRowSelected), this);
  ApplyAll();
}

void ListBoxPeer::Update(Property property) {
  switch (property) {
    case Property::Items:
    case Property::Sorted:  // sorting reorders the items
    case Property::ItemHeight:
    case Property::Font:
      Rebuild();
      break;
    case Property::ItemIndex:
      Select();
      break;
    default:
      break;
  }
}

void ListBoxPeer::Rebuild() {
  updating_ = true;
  GList* rows = gtk_container_get_children(GTK_CONTAINER(list_));
  for (GList* row = rows; row != nullptr; row = row->next)
    gtk_widget_destroy(GTK_WIDGET(row->data));
  g_list_free(rows);
  const StringList& items = list_model_.Items();
  for (int i = 0; i < items.Count(); ++i) {
    GtkWidget* text = gtk_label_new(Cp1252ToUtf8(items[i]).c_str());
    gtk_label_set_xalign(GTK_LABEL(text), 0.0F);
    ApplyFont(GTK_LABEL(text), list_model_.Font());
    gtk_widget_set_size_request(text, -1, list_model_.ItemHeight());
    gtk_widget_show(text);
    gtk_list_box_insert(Widget(), text, -1);
  }
  updating_ = false;
  Select();
}

void ListBoxPeer::Select() {
  updating_ = true;
  GtkListBoxRow* row = gtk_list_box_get_row_at_index(Widget(), list_model_.ItemIndex());
  if (row != nullptr) {
    gtk_list_box_select_row(Widget(), row);
  } else {
    gtk_list_box_unselect_all(Widget());
  }
  updating_ = false;
}

void ListBoxPeer::OnRowSelected(GtkListBox* /*list*/, GtkListBoxRow* row, gpointer self) {
  auto* peer = static_cast<ListBoxPeer*>(self);
  if (peer->updating_ || row == nullptr) return;
  const int index = gtk_list_box_row_get_index(row);
  // The handler may rebuild the rows, which GTK is still busy with here.
  peer->click_.Schedule([peer, index] {
    peer->form_.RunHandler([peer, index] {
      peer->list_model_.SetItemIndex(index);
      peer->list_model_.Click();
    });
  });
}

}  // namespace forms::gtk
