#pragma once
// The form library in a terminal. Each screen of a form is printed as text
// (see screen.h) when it changes; the user answers with keys: a button's
// bracketed letter, Enter for the button shown in <>, the number of a list
// entry. From a terminal the keys come one by one; from a pipe, one per
// line, and a line may also name a button or a list entry in full. A line
// that matches nothing on the current screen waits until a screen offers
// what it names, so a script can write its answers ahead. A progress bar
// that moves is shown with its percentage and the time left: redrawn in
// place on a terminal, one line per tenth otherwise. Posted messages and
// timers run on the shared EventQueue, on the given clock.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/backend.h"
#include "forms/event_queue.h"
#include "forms/terminal/screen.h"
#include "forms/terminal/terminal_driver.h"
#include "platform/clock.h"
#include "platform/virtual_clock.h"

namespace forms {

// How the loop waits for a key or the next tick.
class InputWait {
 public:
  virtual ~InputWait() = default;
  // Waits until fd (-1: none) is readable or timeout_ms (nullopt: no limit)
  // has passed, or a signal arrives; true when fd is readable.
  virtual bool Wait(int fd, std::optional<std::uint32_t> timeout_ms) = 0;
};

// The real wait: poll().
class PollWait final : public InputWait {
 public:
  bool Wait(int fd, std::optional<std::uint32_t> timeout_ms) override;
};

struct TerminalOptions {
  int input_fd = 0;
  bool key_input = false;    // single keys (a terminal in raw mode), else lines
  bool live_output = false;  // a terminal: progress redrawn in place, bold and italic shown
  int width = 78;            // for centred texts
  // The answer to every Yes/No box, given without asking.
  std::optional<ModalResult> yes_no_answer;
};

class TerminalBackend final : public Backend {
 public:
  // driver may be null: then input ending closes the main form at once.
  TerminalBackend(platform::Clock& clock, std::ostream& out, TerminalOptions options,
                  InputWait& wait, TerminalDriver* driver);
  // On virtual time: reading the clock lets no time pass, as reading the
  // system's counter does not.
  TerminalBackend(platform::VirtualClock& clock, std::ostream& out, TerminalOptions options,
                  InputWait& wait, TerminalDriver* driver);

  // The user's actions, shown as they are done ("-> Suivant"); each acts
  // only on a visible, enabled control and says whether it did.
  bool Click(Button& button);
  bool SelectItem(ListBox& list, int index);

  void AttachForm(Form& form) override;
  void DetachForm(Form& form) override;
  void RunLoop(Application& application) override;
  void RunModal(Form& form) override;
  ModalResult ShowDialog(const DialogRequest& request) override;
  bool Post(Form& form, const Message& message) override;
  int TextWidth(const std::string& text, const FontSpec& font) override;
  int OuterWidth(int client_width, BorderStyle border) override;
  int ExitStatus() const override;

  // A property of component on form has changed (called by the peers).
  void Note(Form* form, Component* component, Property property);

 private:
  struct Input {
    enum class Kind { Key, Enter, Escape, Line } kind;
    std::string text;  // the key, or the line (Windows-1252, trimmed)
  };
  // What the loop currently serves: the main form, a modal form or a box.
  struct Context {
    Form* form = nullptr;
    const DialogRequest* dialog = nullptr;
    std::optional<ModalResult> answer;
    Screen screen;
    std::string shown;  // the text last printed
    bool force = true;  // print even if unchanged
  };
  struct Change {
    Form* form;
    Component* component;
    Property property;
  };
  struct ProgressTrack {
    const ProgressBar* bar = nullptr;
    int start_position = 0;
    std::uint32_t start_ms = 0;
    int last_position = 0;
    int tenth = -1;  // last tenth printed on a pipe
  };

  TerminalBackend(std::function<std::uint32_t()> now, std::ostream& out, TerminalOptions options,
                  InputWait& wait, TerminalDriver* driver);
  void Loop(Context& context, const std::function<bool()>& done);
  void EndOnSignal(Context& context);
  bool EndForLackOfInput(Context& context);
  void Refresh(Context& context);
  void RefreshTop();
  void PrintScreen(Context& context);
  void ShowProgress(const ProgressBar& bar);
  void ResetProgress(const ProgressBar& bar);
  void Print(const std::string& text);
  void ReadInput();
  void ParseKeys(const std::string& bytes);
  void ParseLines(const std::string& bytes, bool at_end);
  bool Apply(Context& context, const Input& input);
  bool ApplyKey(Context& context, char key);
  bool SelectNumber(Context& context, const std::string& digits);
  bool Press(Context& context, const OfferedButton& offered);
  bool IsMain(const Context& context) const;
  static ModalResult ClosingAnswer(const DialogRequest& request);

  std::function<std::uint32_t()> now_;
  std::ostream& out_;
  TerminalOptions options_;
  InputWait& wait_;
  TerminalDriver* driver_;
  EventQueue queue_;
  Application* application_ = nullptr;
  std::vector<Context*> contexts_;
  std::vector<Change> changes_;
  std::deque<Input> pending_;
  std::string partial_line_;
  std::string digits_;  // a list number being typed key by key
  bool input_ended_ = false;
  bool progress_open_ = false;  // a progress line without its line end stands last
  ProgressTrack progress_;
};

}  // namespace forms
