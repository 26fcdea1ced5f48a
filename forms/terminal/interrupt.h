#pragma once
// Ending a terminal run on SIGINT, SIGTERM or SIGHUP, or SIGPIPE when the
// output has gone: the handler only notes the signal; the loop sees the
// note, ends the run in order and so restores the terminal on its way out.

#include <signal.h>

#include <array>

namespace forms {

// Installs the handlers for as long as it lives, then puts back the previous ones.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  static constexpr std::array<int, 4> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
  std::array<struct sigaction, kSignals.size()> previous_{};
};

// Whether one of those signals arrived while a watch is installed.
bool Interrupted();

}  // namespace forms
