#pragma once
// The modal message box: caption, error or information icon, text, and the
// request's buttons with their mnemonics, the first one the default.

#include <functional>

#include <gtk/gtk.h>

#include "forms/message_dlg.h"

namespace forms::gtk {

// Shows the box over owner (when not null) and runs run_until until it is
// answered; closing it answers No to Yes/No and OK to OK.
ModalResult RunMessageBox(const DialogRequest& request, GtkWindow* owner,
                          const std::function<void(const std::function<bool()>&)>& run_until);

}  // namespace forms::gtk
