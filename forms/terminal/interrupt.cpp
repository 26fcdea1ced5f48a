#include "forms/terminal/interrupt.h"

#include <csignal>

namespace forms {
namespace {

// A signal handler may safely do little more than set a flag of this type;
// it is file-local, and only the watch and Interrupted() touch it.
volatile std::sig_atomic_t signal_seen = 0;

extern "C" void NoteSignal(int /*signal*/) {
  signal_seen = 1;
}

}  // namespace

InterruptWatch::InterruptWatch() {
  signal_seen = 0;
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // Reads and writes on the serial line go on; poll() still returns EINTR.
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

InterruptWatch::~InterruptWatch() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &previous_[i], nullptr);
  signal_seen = 0;
}

bool Interrupted() {
  return signal_seen != 0;
}

}  // namespace forms
