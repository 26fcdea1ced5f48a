// The program in a real terminal (a pseudo-terminal it has as its
// controlling terminal) and without a display, where it chooses the
// terminal by itself: single keys without echo while it runs, and the
// terminal's settings put back however the run ends.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

class TerminalModeTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_EQ(openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
    // No ports and no settings file, whatever the machine has.
    setenv("KST90_COM_DIR", "/nonexistent/kst90-com", 1);
    setenv("KST90_WINDOWS_DIR", "/nonexistent/windows", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }
  void TearDown() override {
    close(master_);
    close(slave_);
  }

  pid_t Start() {
    const pid_t child = fork();
    if (child == 0) {
      setsid();
      ioctl(slave_, TIOCSCTTY, 0);
      dup2(slave_, STDIN_FILENO);
      dup2(slave_, STDOUT_FILENO);
      dup2(slave_, STDERR_FILENO);
      close(master_);
      execl(KST_PROGRAM, KST_PROGRAM, "--lang", "en", nullptr);
      _exit(127);
    }
    return child;
  }

  // Reads what the program prints until text has come; false after 10 s.
  bool WaitFor(const std::string& text) {
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (output_.find(text) == std::string::npos) {
      if (Clock::now() > end) return false;
      Drain();
    }
    return true;
  }

  // Reads what has come within 50 ms.
  void Drain() {
    pollfd ready{.fd = master_, .events = POLLIN, .revents = 0};
    if (poll(&ready, 1, 50) <= 0) return;
    char buffer[4096];
    const ssize_t got = read(master_, buffer, sizeof buffer);
    if (got > 0) output_.append(buffer, static_cast<std::size_t>(got));
  }

  tcflag_t LocalModes() const {
    termios settings{};
    tcgetattr(slave_, &settings);
    return settings.c_lflag;
  }

  int master_ = -1;
  int slave_ = -1;
  std::string output_;
};

TEST_P(TerminalModeTest, KeysWithoutEchoThenSettingsPutBack) {
  const tcflag_t before = LocalModes();
  ASSERT_NE(before & ICANON, 0U);
  const pid_t child = Start();
  ASSERT_GT(child, 0);
  ASSERT_TRUE(WaitFor("<[N]ext>")) << output_;
  EXPECT_EQ(LocalModes() & (ICANON | ECHO), 0U);

  ASSERT_EQ(write(master_, "n", 1), 1);
  EXPECT_TRUE(WaitFor("-> Next")) << output_;
  EXPECT_TRUE(WaitFor("Step n\xC2\xB0 2 of 10")) << output_;
  const std::string end = GetParam();
  ASSERT_EQ(write(master_, end.data(), end.size()), static_cast<ssize_t>(end.size()));

  int status = 0;
  const auto limit = Clock::now() + std::chrono::seconds(10);
  while (waitpid(child, &status, WNOHANG) == 0) {
    Drain();
    if (Clock::now() > limit) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      FAIL() << "still running: " << output_;
    }
  }
  ASSERT_TRUE(WIFEXITED(status)) << output_;
  EXPECT_EQ(WEXITSTATUS(status), 1);  // quit by the user
  EXPECT_EQ(LocalModes(), before);
}

// Exit ("E[x]it") and Ctrl-C, which the terminal turns into SIGINT.
INSTANTIATE_TEST_SUITE_P(Ends, TerminalModeTest, ::testing::Values("x", "\x03"));

}  // namespace
