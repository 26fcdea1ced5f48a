#include "forms/gtk/control_peer.h"

namespace forms::gtk {

ControlPeer::ControlPeer(FormPeer& form, Control& control, GtkWidget* outer)
    : form_(form), control_(control), outer_(outer) {
  gtk_layout_put(form_.Client(), outer_, control_.Left(), control_.Top());
}

ControlPeer::~ControlPeer() {
  for (const auto& [instance, self] : connections_)
    g_signal_handlers_disconnect_by_data(instance, self);
  gtk_widget_destroy(outer_);
}

void ControlPeer::Changed(Property property) {
  switch (property) {
    case Property::Bounds:
      gtk_layout_move(form_.Client(), outer_, control_.Left(), control_.Top());
      gtk_widget_set_size_request(outer_, control_.Width(), control_.Height());
      break;
    case Property::Visible:
      gtk_widget_set_visible(outer_, control_.Visible());
      break;
    case Property::Enabled:
      gtk_widget_set_sensitive(outer_, control_.Enabled());
      break;
    case Property::TabOrder:
      form_.UpdateFocusChain();
      break;
    default:
      break;
  }
  Update(property);
}

void ControlPeer::ApplyAll() {
  for (Property property :
       {Property::Bounds,       Property::Visible, Property::Enabled,     Property::TabOrder,
        Property::Caption,      Property::Font,    Property::Alignment,   Property::AutoSize,
        Property::Cursor,       Property::Hint,    Property::Default,     Property::ReadOnly,
        Property::Color,        Property::Items,   Property::ItemIndex,   Property::Sorted,
        Property::ItemHeight,   Property::Style,   Property::MultiSelect, Property::Range,
        Property::Position,     Property::Step,    Property::Smooth,      Property::Picture,
        Property::PictureLayout}) {
    Changed(property);
  }
}

void ControlPeer::Connect(gpointer instance, const char* signal, GCallback handler, gpointer self) {
  g_signal_connect(instance, signal, handler, self);
  connections_.emplace_back(instance, self);
}

void DeferredCall::Schedule(std::function<void()> call) {
  call_ = std::move(call);
  // Ahead of posted messages and ticks, as the click it stands for would be.
  if (source_ == 0) source_ = g_idle_add_full(G_PRIORITY_HIGH, Run, this, nullptr);
}

void DeferredCall::Cancel() {
  if (source_ != 0) g_source_remove(source_);
  source_ = 0;
  call_ = nullptr;
}

gboolean DeferredCall::Run(gpointer self) {
  auto* deferred = static_cast<DeferredCall*>(self);
  deferred->source_ = 0;
  const std::function<void()> call = std::move(deferred->call_);
  deferred->call_ = nullptr;
  call();  // may destroy the deferred call's owner
  return G_SOURCE_REMOVE;
}

}  // namespace forms::gtk
