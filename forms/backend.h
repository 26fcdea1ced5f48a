#pragma once
// What a toolkit provides to the form library: native windows kept in step
// with the components through their peers, the message loop with nested
// modal loops, message boxes, and text measurement.

#include <string>

#include "forms/form.h"
#include "forms/message_dlg.h"
#include "forms/types.h"

namespace forms {

class Application;

class Backend {
 public:
  virtual ~Backend() = default;

  // A form has been constructed: give it and each of its components a peer
  // matching their current properties.
  virtual void AttachForm(Form& form) = 0;
  // A form is about to be destroyed: drop what is queued for it.
  virtual void DetachForm(Form& form) = 0;

  // The message loop: returns once application.Terminated().
  virtual void RunLoop(Application& application) = 0;
  // Nested loop while form is shown modally: returns once its modal result is
  // set or it is hidden. Ticks and posted messages go on meanwhile.
  virtual void RunModal(Form& form) = 0;
  // A modal message box with its own nested loop.
  virtual ModalResult ShowDialog(const DialogRequest& request) = 0;

  // Queues message for form's window; it is handled before any timer tick
  // that is not yet being delivered.
  virtual bool Post(Form& form, const Message& message) = 0;

  virtual int TextWidth(const std::string& text, const FontSpec& font) = 0;
  // Outer width of a window of the given client width and border.
  virtual int OuterWidth(int client_width, BorderStyle border) = 0;

  // The program's exit status once the loop is over, from a backend that
  // can tell how the run ended; 0 from the others.
  virtual int ExitStatus() const { return 0; }
};

}  // namespace forms
