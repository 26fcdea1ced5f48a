#pragma once
// The backend of the platform being built (Win32 on Windows; GTK or the
// terminal elsewhere). Each such backend's target (kst_forms_native)
// defines this; the program's entry is the only caller.

#include <memory>

#include "forms/backend.h"
#include "platform/clock.h"

namespace forms {

std::unique_ptr<Backend> CreateNativeBackend(platform::Clock& clock);

}  // namespace forms
