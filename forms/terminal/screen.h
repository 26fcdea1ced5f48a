#pragma once
// What the terminal shows of a form or a message box, and the keys that act
// on it. A form reads from top to bottom: its caption, then its visible
// texts and lists in the order they stand on the window, then one line of
// the buttons it offers (visible and enabled), each with its key in brackets.
// Progress bars are left to the backend, which shows them as they move.

#include <optional>
#include <string>
#include <vector>

#include "forms/button.h"
#include "forms/form.h"
#include "forms/list_box.h"
#include "forms/message_dlg.h"
#include "forms/progress_bar.h"

namespace forms {

struct OfferedButton {
  Button* button = nullptr;                // null for a message box's button
  ModalResult result = ModalResult::None;  // what a message box's button answers
  char key = 0;                            // upper case; 0 when the caption had no free letter
  std::string label;                       // "[S]uivant": the key bracketed, UTF-8
  std::string caption;                     // without '&', Windows-1252
};

struct Screen {
  std::vector<std::string> lines;  // UTF-8, without line ends
  std::vector<OfferedButton> buttons;
  int enter = -1;            // the button Enter presses, -1 for none
  ListBox* list = nullptr;   // the list whose entries the numbers select
  std::string Text() const;  // every line and the buttons line, each ending in '\n'
};

// The key of each caption: its mnemonic ('&' before it), else its first
// letter; a key an earlier caption took gives way to the next letter or
// digit of the caption that is still free. 0 when none is.
std::vector<char> AssignKeys(const std::vector<std::string>& captions);

// The caption without its '&' marks ("&&" stands for '&').
std::string PlainCaption(const std::string& caption);

// styled: bold and italic texts as the terminal's attributes.
Screen ComposeForm(Form& form, int width, bool styled);
// Enter presses the first button, as the system's message box does.
Screen ComposeDialog(const DialogRequest& request);

// "[#####.....]  50 %  -0:21": the bar, the percentage and, when known, the time left.
std::string ProgressLine(const ProgressBar& bar, std::optional<std::uint32_t> left_ms);

// Number of characters a UTF-8 text shows.
std::size_t DisplayWidth(const std::string& utf8);

}  // namespace forms
