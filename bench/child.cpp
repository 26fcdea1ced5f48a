#include "bench/child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace bench {

Child::Child(const std::vector<std::string>& command) {
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO);
  const int spawned = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  out_ = pipe_ends[0];
  if (spawned != 0) {
    close(out_);
    throw std::runtime_error(command[0] + ": " + std::strerror(spawned));
  }
}

Child::~Child() {
  if (!ended_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (out_ >= 0) close(out_);
}

void Child::Signal(int signal) const {
  if (!ended_) kill(pid_, signal);
}

bool Child::ReadSome(std::chrono::milliseconds wait) {
  if (out_ < 0) return false;
  pollfd ready{out_, POLLIN, 0};
  if (poll(&ready, 1, static_cast<int>(wait.count())) <= 0) return true;
  char buffer[4096];
  const ssize_t got = read(out_, buffer, sizeof buffer);
  if (got < 0 && errno == EINTR) return true;
  const Clock::time_point now = Clock::now();
  if (got <= 0) {
    if (!partial_.empty()) lines_.push_back({now, partial_});
    partial_.clear();
    close(out_);
    out_ = -1;
    return false;
  }
  partial_.append(buffer, static_cast<std::size_t>(got));
  for (std::size_t end; (end = partial_.find('\n')) != std::string::npos;) {
    lines_.push_back({now, partial_.substr(0, end)});
    partial_.erase(0, end + 1);
  }
  return true;
}

bool Child::ReadUntil(const std::string& text, std::chrono::milliseconds limit) {
  const Clock::time_point end = Clock::now() + limit;
  std::size_t seen = 0;
  while (Clock::now() < end) {
    for (; seen < lines_.size(); ++seen) {
      if (lines_[seen].text.find(text) != std::string::npos) return true;
    }
    if (!ReadSome(std::chrono::milliseconds(50))) return false;
  }
  return false;
}

Ended Child::Finish(std::chrono::milliseconds limit) {
  if (ended_) return *ended_;
  const Clock::time_point end = Clock::now() + limit;
  while (Clock::now() < end && ReadSome(std::chrono::milliseconds(50))) {
  }
  if (out_ >= 0) kill(pid_, SIGKILL);
  int status = 0;
  rusage usage{};
  while (wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  const auto cpu = std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
  ended_ = Ended{WIFEXITED(status) ? WEXITSTATUS(status) : -1, cpu};
  return *ended_;
}

}  // namespace bench
