// The Linux front end: a window where a display is available, the terminal
// otherwise or when the command line asks for it.
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "forms/native_backend.h"
#include "forms/native_linux/display_backend.h"
#include "forms/native_linux/wizard_driver.h"
#include "forms/terminal/interrupt.h"
#include "forms/terminal/raw_mode.h"
#include "forms/terminal/terminal_backend.h"

namespace forms {
namespace {

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int OutputWidth() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 2) return size.ws_col - 2;
  return 78;
}

// The terminal backend with what it runs on: the signal watch, the
// terminal's raw mode (put back when this goes) and the wizard's driver.
class TerminalFrontEnd final : public Backend {
 public:
  TerminalFrontEnd(platform::Clock& clock, const FrontEndOptions& options)
      : raw_mode_(STDIN_FILENO),
        driver_(options.port, clock, std::cerr),
        terminal_(clock, std::cout,
                  TerminalOptions{.input_fd = STDIN_FILENO,
                                  .key_input = raw_mode_.Active(),
                                  .live_output = isatty(STDOUT_FILENO) != 0,
                                  .width = OutputWidth(),
                                  .yes_no_answer = options.yes_no_answer},
                  wait_, &driver_) {}

  void AttachForm(Form& form) override { terminal_.AttachForm(form); }
  void DetachForm(Form& form) override { terminal_.DetachForm(form); }
  void RunLoop(Application& application) override { terminal_.RunLoop(application); }
  void RunModal(Form& form) override { terminal_.RunModal(form); }
  ModalResult ShowDialog(const DialogRequest& request) override {
    return terminal_.ShowDialog(request);
  }
  bool Post(Form& form, const Message& message) override { return terminal_.Post(form, message); }
  int TextWidth(const std::string& text, const FontSpec& font) override {
    return terminal_.TextWidth(text, font);
  }
  int OuterWidth(int client_width, BorderStyle border) override {
    return terminal_.OuterWidth(client_width, border);
  }
  int ExitStatus() const override { return terminal_.ExitStatus(); }

 private:
  InterruptWatch interrupt_watch_;
  RawMode raw_mode_;
  PollWait wait_;
  WizardDriver driver_;
  TerminalBackend terminal_;
};

}  // namespace

std::unique_ptr<Backend> CreateNativeBackend(platform::Clock& clock,
                                             const FrontEndOptions& options) {
  // Answering boxes and launching on a port are the terminal's; they ask for it.
  const bool terminal = options.terminal || options.yes_no_answer || options.port != 0;
  if (!terminal && DisplayAvailable()) {
    if (auto display = CreateDisplayBackend(clock)) return display;
  }
  return std::make_unique<TerminalFrontEnd>(clock, options);
}

}  // namespace forms
