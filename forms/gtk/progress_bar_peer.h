#pragma once
// A progress bar filled to its position within its range, as tall as the
// control.

#include <gtk/gtk.h>

#include "forms/gtk/control_peer.h"
#include "forms/progress_bar.h"

namespace forms::gtk {

class ProgressBarPeer final : public ControlPeer {
 public:
  ProgressBarPeer(FormPeer& form, ProgressBar& bar);
  ~ProgressBarPeer() override;
  ProgressBarPeer(const ProgressBarPeer&) = delete;
  ProgressBarPeer& operator=(const ProgressBarPeer&) = delete;

  GtkProgressBar* Widget() const { return GTK_PROGRESS_BAR(Outer()); }

 private:
  void Update(Property property) override;

  ProgressBar& bar_;
  GtkCssProvider* height_;  // the trough fills the control's height
};

}  // namespace forms::gtk
