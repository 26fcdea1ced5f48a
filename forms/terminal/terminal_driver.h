#pragma once
// What the program adds to a terminal run: acting for the user where the
// command line says so, following how the run goes, and the exit status.

#include "forms/form.h"
#include "forms/message_dlg.h"

namespace forms {

class TerminalBackend;

class TerminalDriver {
 public:
  virtual ~TerminalDriver() = default;

  // The main form waits for events: act on it as the user would, through
  // terminal's Click and SelectItem. True while the driver is acting or
  // waiting to act, so that the run is not ended for lack of input.
  virtual bool Act(Form& form, TerminalBackend& terminal) = 0;
  // A new screen of the main form has just been shown.
  virtual void Shown(Form& form) = 0;
  // A message box was answered, by the user or by the terminal.
  virtual void Answered(const DialogRequest& request, ModalResult answer) = 0;
  // Input has ended: whether the main form may be closed now without
  // cutting short work that goes on by itself.
  virtual bool MayClose(Form& form) = 0;
  // Once the loop is over.
  virtual int ExitStatus() const = 0;
};

}  // namespace forms
