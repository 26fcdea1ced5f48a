#pragma once
// The modal message box: the system's MessageBoxW, its buttons renamed to
// the labels asked for. Its loop dispatches every message of the thread,
// so timer ticks and posted form messages go on while it is open.

#include <windows.h>

#include "forms/message_dlg.h"

namespace forms::win32 {

// owner: disabled while the box is open; null for a box of its own.
ModalResult ShowMessageBox(HWND owner, const DialogRequest& request);

}  // namespace forms::win32
