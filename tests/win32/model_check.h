#pragma once
// Compares what the native windows show with the component model: window
// texts, visibility, state, geometry, list items and selection, progress.

#include <ostream>

#include "forms/form.h"
#include "forms/win32/win32_backend.h"

namespace kst_test {

// Writes one line per difference to out, each naming where; returns their count.
int CompareWithModel(forms::win32::Win32Backend& backend, const forms::Form& form,
                     std::ostream& out);

}  // namespace kst_test
