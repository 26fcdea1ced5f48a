#pragma once
// The backend of the platform being built (Win32 on Windows; GTK or the
// terminal elsewhere). Each such backend's target (kst_forms_native)
// defines this; the program's entry is the only caller.

#include <memory>
#include <optional>

#include "forms/backend.h"
#include "forms/form.h"
#include "platform/clock.h"

namespace forms {

// What the command line asks of the front end; a backend takes what applies
// to it and ignores the rest.
struct FrontEndOptions {
  bool terminal = false;                     // the terminal even where a display exists
  std::optional<ModalResult> yes_no_answer;  // given to every Yes/No box without asking
  int port = 0;  // COM number to pick and start the update on at once; 0 for none
};

std::unique_ptr<Backend> CreateNativeBackend(platform::Clock& clock,
                                             const FrontEndOptions& options);

}  // namespace forms
