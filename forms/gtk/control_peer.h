#pragma once
// What the peers of all controls share: one outer widget placed on the
// form's client area at the control's position and size, shown, enabled
// and in the tab order as the control says; signal handlers disconnected
// before the widgets go.

#include <functional>
#include <utility>
#include <vector>

#include <gtk/gtk.h>

#include "forms/component.h"
#include "forms/gtk/form_peer.h"

namespace forms::gtk {

class ControlPeer : public ComponentPeer {
 public:
  ControlPeer(FormPeer& form, Control& control, GtkWidget* outer);
  ~ControlPeer() override;
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  void Changed(Property property) final;
  GtkWidget* Outer() const { return outer_; }

 protected:
  // The properties particular to the control's kind; Bounds comes here too
  // after the outer widget has been placed.
  virtual void Update(Property property) = 0;
  // A new peer takes every property of its control.
  void ApplyAll();

  // Connects handler to signal of instance with data self; disconnected
  // when the peer goes.
  void Connect(gpointer instance, const char* signal, GCallback handler, gpointer self);

  FormPeer& form_;

 private:
  Control& control_;
  GtkWidget* outer_;
  std::vector<std::pair<gpointer, gpointer>> connections_;
};

// Runs a handler from the loop soon, rather than inside the signal that
// asked for it, where GTK still uses the widgets the handler may rebuild.
class DeferredCall {
 public:
  DeferredCall() = default;
  ~DeferredCall() { Cancel(); }
  DeferredCall(const DeferredCall&) = delete;
  DeferredCall& operator=(const DeferredCall&) = delete;

  // Replaces the call still pending, if any.
  void Schedule(std::function<void()> call);
  void Cancel();

 private:
  static gboolean Run(gpointer self);

  std::function<void()> call_;
  guint source_ = 0;
};

}  // namespace forms::gtk
