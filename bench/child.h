#pragma once
// A program run as a child process with its output on a pipe: every line is
// stamped with the steady clock when it arrives, and the CPU time the child
// used is taken when it is reaped.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct StampedLine {
  Clock::time_point at;
  std::string text;
};

struct Ended {
  int status;                     // exit status, or -1 after a signal
  std::chrono::microseconds cpu;  // user and system time of the child
};

class Child {
 public:
  // Runs command (looked up on $PATH when it names no directory) with
  // standard input from /dev/null and standard output and error on a pipe;
  // throws std::runtime_error when it cannot be started.
  explicit Child(const std::vector<std::string>& command);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Reads output until a line holding text has come (true) or the output
  // ended or the limit passed (false).
  bool ReadUntil(const std::string& text, std::chrono::milliseconds limit);
  // Reads output until it ends, then reaps the child; kills it first when
  // limit passes.
  Ended Finish(std::chrono::milliseconds limit);
  void Signal(int signal) const;
  pid_t Pid() const { return pid_; }

  const std::vector<StampedLine>& Lines() const { return lines_; }

 private:
  // Reads what is there within the wait; false once the output has ended.
  bool ReadSome(std::chrono::milliseconds wait);

  pid_t pid_ = -1;
  int out_ = -1;
  std::string partial_;
  std::vector<StampedLine> lines_;
  std::optional<Ended> ended_;
};

}  // namespace bench
