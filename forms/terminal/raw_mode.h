#pragma once
// Single keys from a terminal: no line editing and no echo, while Ctrl-C
// still raises SIGINT. The settings found are put back when this ends.

#include <termios.h>

namespace forms {

class RawMode {
 public:
  // Does nothing when fd is not a terminal.
  explicit RawMode(int fd);
  ~RawMode();
  RawMode(const RawMode&) = delete;
  RawMode& operator=(const RawMode&) = delete;

  bool Active() const { return active_; }

 private:
  int fd_;
  bool active_ = false;
  termios saved_{};
};

}  // namespace forms
