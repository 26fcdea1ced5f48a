#include "forms/terminal/raw_mode.h"

#include <unistd.h>

namespace forms {

RawMode::RawMode(int fd) : fd_(fd) {
  if (isatty(fd_) == 0 || tcgetattr(fd_, &saved_) != 0) return;
  termios raw = saved_;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  active_ = tcsetattr(fd_, TCSAFLUSH, &raw) == 0;
}

RawMode::~RawMode() {
  if (active_) tcsetattr(fd_, TCSAFLUSH, &saved_);
}

}  // namespace forms
