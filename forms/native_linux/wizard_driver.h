#pragma once
// The wizard's side of a terminal run: with a port given, it goes through
// steps 1 to 6 as the user would (Next, the port's entry, Next, Connection);
// it tells from the screens and the message boxes how the update attempt
// ended (see app/exit_status.h); and it keeps the run going while the
// update works by itself, even once the input has ended.

#include <cstdint>
#include <optional>
#include <ostream>

#include "forms/terminal/terminal_backend.h"
#include "forms/terminal/terminal_driver.h"
#include "platform/clock.h"

class WizardDriver final : public forms::TerminalDriver {
 public:
  // port: the COM number to launch the update on, 0 for none; errors: where
  // a port that does not show up is reported.
  WizardDriver(int port, platform::Clock& clock, std::ostream& errors);

  bool Act(forms::Form& form, forms::TerminalBackend& terminal) override;
  void Shown(forms::Form& form) override;
  void Answered(const forms::DialogRequest& request, forms::ModalResult answer) override;
  bool MayClose(forms::Form& form) override;
  int ExitStatus() const override { return status_; }

  // How long the port's entry may take to show up on the port step.
  static constexpr std::uint32_t kPortWaitMs = 3000;

 private:
  int port_;
  platform::Clock& clock_;
  std::ostream& errors_;
  bool launching_;
  std::optional<std::uint32_t> port_wait_start_;
  int status_;
};
