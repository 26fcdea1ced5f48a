// kst90-sim: a simulated device on a pseudo-terminal, served in real time,
// optionally attached as COMn for the Linux build of the wizard.

#include <poll.h>
#include <signal.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/com_names.h"
#include "simulator/loader_device.h"
#include "simulator/pty_server.h"

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void RequestStop(int) {
  stop_requested = 1;
}

constexpr const char* kUsage =
    "usage: kst90-sim [options]\n"
    "  --com N            attach as COM<N> (a link in $KST90_COM_DIR, default /tmp/kst90-com)\n"
    "  --as-adapter       with --com, pose as the maker's USB adapter (\\Device\\Silabser<N>)\n"
    "  --identity ABC     identity, three characters (P04)\n"
    "  --variant V        hardware variant (1)\n"
    "  --serial S         serial number (412345678)\n"
    "  --version M.m      firmware version (3.4)\n"
    "  --turnaround MS    the loader's and the adapter's delay before each answer (2)\n"
    "  --silent           never answer\n"
    "  --give-up          answer the wake-up with 133\n"
    "  --refuse CMD       refuse command CMD (decimal)\n"
    "  --refuse-word N    refuse the Nth program word\n"
    "  --garbage          send junk instead of every answer byte\n"
    "  --silent-after N   fall silent after receiving N bytes\n"
    "  --unplug-after N   hang up the line after receiving N bytes\n"
    "  --dump FILE        write both memories to FILE at exit\n"
    "  --log              print every byte received and sent at exit\n"
    "  --timeline FILE    write when each byte reached the other side to FILE at exit:\n"
    "                     steady-clock nanoseconds, -> (to the device) or <-, the byte in hex\n";

template <typename T>
std::optional<T> Number(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

struct Options {
  std::optional<int> com;
  bool as_adapter = false;
  sim::DeviceConfig config;
  sim::Faults faults;
  std::optional<std::size_t> unplug_after;
  std::optional<std::string> dump;
  std::optional<std::string> timeline;
  bool log = false;
};

// nullopt after printing what is wrong.
std::optional<Options> Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    const std::string_view value = has_value ? argv[i + 1] : "";
    bool ok = true;
    bool used_value = true;
    if (arg == "--com") {
      const auto n = Number<int>(value);
      ok = n && *n > 0;
      if (ok) o.com = n;
    } else if (arg == "--identity") {
      ok = value.size() == 3;
      o.config.identity = value;
    } else if (arg == "--variant") {
      const auto v = Number<std::uint8_t>(value);
      ok = v.has_value();
      if (ok) o.config.variant = *v;
    } else if (arg == "--serial") {
      const auto v = Number<std::uint32_t>(value);
      ok = v.has_value();
      if (ok) o.config.serial_number = *v;
    } else if (arg == "--version") {
      const auto dot = value.find('.');
      const auto major = Number<std::uint8_t>(value.substr(0, dot));
      const auto minor = dot == std::string_view::npos
                             ? std::nullopt
                             : Number<std::uint8_t>(value.substr(dot + 1));
      ok = major && minor;
      if (ok) {
        o.config.version_major = *major;
        o.config.version_minor = *minor;
      }
    } else if (arg == "--turnaround") {
      const auto v = Number<std::uint32_t>(value);
      ok = v.has_value();
      if (ok) o.config.turnaround_ms = *v;
    } else if (arg == "--refuse") {
      const auto v = Number<std::uint8_t>(value);
      ok = v.has_value();
      o.faults.refused_command = v;
    } else if (arg == "--refuse-word") {
      const auto v = Number<std::size_t>(value);
      ok = v.has_value();
      o.faults.refused_program_word = v;
    } else if (arg == "--silent-after") {
      const auto v = Number<std::size_t>(value);
      ok = v.has_value();
      o.faults.silent_after_bytes = v;
    } else if (arg == "--unplug-after") {
      const auto v = Number<std::size_t>(value);
      ok = v.has_value();
      o.unplug_after = v;
    } else if (arg == "--dump") {
      ok = has_value;
      o.dump = std::string(value);
    } else if (arg == "--timeline") {
      ok = has_value;
      o.timeline = std::string(value);
    } else {
      used_value = false;
      if (arg == "--as-adapter") {
        o.as_adapter = true;
      } else if (arg == "--silent") {
        o.faults.silent = true;
      } else if (arg == "--give-up") {
        o.faults.give_up_on_wake_up = true;
      } else if (arg == "--garbage") {
        o.faults.garbage = true;
      } else if (arg == "--log") {
        o.log = true;
      } else {
        std::cerr << (arg == "--help" ? "" : "kst90-sim: unknown option " + std::string(arg) + "\n")
                  << kUsage;
        return std::nullopt;
      }
    }
    if (used_value && (!has_value || !ok)) {
      std::cerr << "kst90-sim: bad value for " << arg << "\n" << kUsage;
      return std::nullopt;
    }
    if (used_value) ++i;
  }
  if (o.as_adapter && !o.com) {
    std::cerr << "kst90-sim: --as-adapter needs --com\n";
    return std::nullopt;
  }
  return o;
}

// The COMn link and its device-name file, removed again at exit.
class ComAttachment {
 public:
  ComAttachment(int n, const std::string& target, bool as_adapter) {
    const platform::posix::ComRoots roots = platform::posix::DefaultComRoots();
    fs::create_directories(roots.com_dir);
    link_ = platform::posix::ComLinkPath(n, roots);
    fs::create_symlink(target, link_);  // fails when another device holds COMn
    if (as_adapter) {
      device_file_ = platform::posix::ComDeviceNamePath(n, roots);
      std::ofstream(*device_file_) << "\\Device\\Silabser" << n << "\n";
    }
  }
  ~ComAttachment() { Detach(); }
  ComAttachment(const ComAttachment&) = delete;
  ComAttachment& operator=(const ComAttachment&) = delete;

  const fs::path& link() const { return link_; }
  void Detach() {
    std::error_code ignored;
    fs::remove(link_, ignored);
    if (device_file_) fs::remove(*device_file_, ignored);
  }

 private:
  fs::path link_;
  std::optional<fs::path> device_file_;
};

void WriteTimeline(const std::vector<sim::PtyServer::TimedByte>& timeline,
                   const std::string& file) {
  std::ofstream out(file);
  char line[48];
  for (const sim::PtyServer::TimedByte& entry : timeline) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(entry.at.time_since_epoch());
    std::snprintf(line, sizeof line, "%lld %s %02X\n", static_cast<long long>(ns.count()),
                  entry.direction == sim::Direction::kToDevice ? "->" : "<-", entry.byte);
    out << line;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = Parse(argc, argv);
  if (!options) return 2;

  struct sigaction action {};
  action.sa_handler = RequestStop;  // no SA_RESTART: the server's poll wakes up
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  try {
    sim::LoaderDevice device(options->config);
    device.faults() = options->faults;
    sim::PtyServer server(device);
    std::optional<ComAttachment> attachment;
    std::cout << "kst90-sim: serving " << server.HostPath() << std::endl;
    if (options->com) {
      attachment.emplace(*options->com, server.HostPath(), options->as_adapter);
      std::cout << "kst90-sim: attached as COM" << *options->com << " ("
                << attachment->link().string() << ")" << std::endl;
    }
    if (server.Serve(stop_requested, options->unplug_after)) {
      if (attachment) attachment->Detach();
      std::cout << "kst90-sim: line hung up after " << device.BytesReceived() << " bytes"
                << std::endl;
      while (stop_requested == 0) poll(nullptr, 0, 100);
    }
    if (options->dump) {
      std::ofstream dump(*options->dump);
      device.DumpMemories(dump);
    }
    if (options->timeline) WriteTimeline(server.Timeline(), *options->timeline);
    if (options->log) device.PrintLog(std::cout);
    std::cout << "kst90-sim: stopped" << std::endl;
  } catch (const std::exception& error) {
    std::cerr << "kst90-sim: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
