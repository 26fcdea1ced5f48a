#pragma once
// A program run as a child process for the real-time tests, its input read
// from a file and its output written to one.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kst_test {

class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& command, const std::string& input_file,
               const std::string& output_file)
      : output_file_(output_file) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input_file.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output_file.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~ChildProcess() {
    if (running()) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool running() const { return pid_ > 0 && !status_; }

  // The exit status once the child has ended within limit; nullopt (and the
  // child killed) when it had not, or ended on a signal.
  std::optional<int> Wait(std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (running()) {
      int status = 0;
      const pid_t done = waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        break;
      }
      if (std::chrono::steady_clock::now() > end) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        status_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!status_ || *status_ < 0) return std::nullopt;
    return status_;
  }

  void Signal(int signal) const {
    if (running()) kill(pid_, signal);
  }

  std::string Output() const {
    std::ifstream in(output_file_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Waits until the output holds text; false when limit passed first.
  bool WaitForOutput(const std::string& text, std::chrono::seconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Output().find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string output_file_;
};

}  // namespace kst_test
