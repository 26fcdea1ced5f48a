#include "forms/gtk/form_peer.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "forms/application.h"
#include "forms/cp1252.h"
#include "forms/gtk/control_peer.h"
#include "forms/gtk/fonts.h"
#include "forms/gtk/pictures.h"

namespace forms::gtk {

FormPeer::FormPeer(Form& form)
    : form_(form),
      window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      client_(gtk_layout_new(nullptr, nullptr)) {
  gtk_style_context_add_class(gtk_widget_get_style_context(window_), kWindowClass);
  gtk_container_add(GTK_CONTAINER(window_), client_);
  gtk_widget_show(client_);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  for (Property property : {Property::Caption, Property::ClientSize, Property::BorderStyle,
                            Property::BorderIcons, Property::Icon, Property::Visible}) {
    Changed(property);
  }
}

FormPeer::~FormPeer() {
  g_signal_handlers_disconnect_by_data(window_, this);
  gtk_widget_destroy(window_);
}

FormPeer* FormPeer::Of(const Form& form) {
  return dynamic_cast<FormPeer*>(form.Peer());
}

void FormPeer::Changed(Property property) {
  switch (property) {
    case Property::Caption:
      gtk_window_set_title(Window(), Cp1252ToUtf8(form_.Caption()).c_str());
      break;
    case Property::ClientSize:
      gtk_widget_set_size_request(client_, form_.ClientWidth(), form_.ClientHeight());
      break;
    case Property::BorderStyle:
      gtk_window_set_resizable(Window(), form_.GetBorderStyle() == BorderStyle::Sizeable);
      gtk_window_set_type_hint(Window(), form_.GetBorderStyle() == BorderStyle::Dialog
                                             ? GDK_WINDOW_TYPE_HINT_DIALOG
                                             : GDK_WINDOW_TYPE_HINT_NORMAL);
      break;
    case Property::BorderIcons:
      // Without a system menu there is no close box, where the window
      // manager lets us say so; its close command still means Close.
      gtk_window_set_deletable(Window(), form_.GetBorderIcons().system_menu);
      break;
    case Property::Icon:
      if (GdkPixbuf* icon = LoadPicture(form_.Icon())) {
        gtk_window_set_icon(Window(), icon);
        g_object_unref(icon);
      }
      break;
    case Property::Visible:
      if (form_.Visible()) {
        Show();
      } else {
        gtk_widget_hide(window_);
      }
      break;
    default:
      break;
  }
}

void FormPeer::Show() {
  const Form* main_form = form_.App().MainForm();
  const FormPeer* owner = main_form != nullptr && main_form != &form_ ? Of(*main_form) : nullptr;
  if (owner != nullptr) gtk_window_set_transient_for(Window(), owner->Window());
  switch (form_.Position()) {
    case FormPosition::ScreenCenter:
      gtk_window_set_position(Window(), GTK_WIN_POS_CENTER);
      break;
    case FormPosition::OwnerFormCenter:
      gtk_window_set_position(Window(),
                              owner != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
      break;
    case FormPosition::Designed:
      break;
  }
  gtk_window_set_modal(Window(), form_.Modal());
  gtk_window_present(Window());
}

gboolean FormPeer::OnDelete(GtkWidget* /*window*/, GdkEvent* /*event*/, gpointer self) {
  auto* peer = static_cast<FormPeer*>(self);
  peer->RunHandler([peer] { peer->form_.Close(); });
  return TRUE;  // the form hides or keeps its window itself
}

void FormPeer::RunHandler(const std::function<void()>& handler) const {
  form_.App().RunGuarded(handler);
}

void FormPeer::UpdateFocusChain() {
  std::vector<std::pair<int, GtkWidget*>> stops;
  for (Component* component : form_.Components()) {
    const auto* control = dynamic_cast<Control*>(component);
    const auto* peer = control != nullptr ? dynamic_cast<ControlPeer*>(control->Peer()) : nullptr;
    if (peer != nullptr && control->TabStop())
      stops.emplace_back(control->TabOrder(), peer->Outer());
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  GList* chain = nullptr;
  for (const auto& stop : stops) chain = g_list_append(chain, stop.second);
  // Still the only way to give a container an order other than the geometric one.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(client_), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);
}

void FormPeer::SetDefaultButton(GtkWidget* button, bool is_default) {
  gtk_widget_set_can_default(button, TRUE);
  if (is_default) {
    gtk_window_set_default(Window(), button);
  } else if (gtk_window_get_default_widget(Window()) == button) {
    gtk_window_set_default(Window(), nullptr);
  }
}

}  // namespace forms::gtk
