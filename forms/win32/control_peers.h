#pragma once
// The native control of each kind of component.

#include <memory>

#include "forms/win32/form_window.h"

namespace forms::win32 {

// The peer for control, or null for a kind that has no native control.
std::unique_ptr<ControlPeer> MakeControlPeer(FormWindow& window, Control& control, int id);

}  // namespace forms::win32
