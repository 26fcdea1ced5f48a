// kst90-bench: whole updates in real time through the program's terminal
// front end against kst90-sim pacing a 9600-baud line, with one table per
// image and adapter turnaround: bytes, floors, measured times and ratios.

#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench/child.h"
#include "bench/floors.h"
#include "wizard/firmware_images.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace bench {
namespace {

constexpr const char* kUsage =
    "usage: kst90-bench [options]\n"
    "  --program PATH        the wizard (default: the one built beside this program)\n"
    "  --sim PATH            kst90-sim (default: the one built beside this program)\n"
    "  --turnaround LIST     adapter turnarounds in ms, comma-separated (0,1,16)\n"
    "  --image LIST          images, a and/or b, comma-separated (a,b)\n"
    "  --runs N              runs of each combination (1)\n"
    "  --com N               the COM number the device is attached as (60)\n"
    "  --front-end LIST      terminal and/or gtk, comma-separated (terminal); gtk needs\n"
    "                        a display (xvfb-run) and xdotool\n";

struct Image {
  char name;
  int variant;
  const char (*rows)[55];
};

struct Options {
  std::string program = KST_PROGRAM;
  std::string sim = KST_SIM;
  std::vector<int> turnarounds{0, 1, 16};
  std::vector<Image> images{{'A', 1, FirmwareImageA}, {'B', 4, FirmwareImageB}};
  std::vector<std::string> front_ends{"terminal"};
  int runs = 1;
  int com = 60;
};

std::optional<std::vector<int>> Numbers(std::string_view text) {
  std::vector<int> numbers;
  while (!text.empty()) {
    const std::string_view item = text.substr(0, text.find(','));
    int value = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (error != std::errc() || end != item.data() + item.size() || value < 0) return std::nullopt;
    numbers.push_back(value);
    text.remove_prefix(std::min(text.size(), item.size() + 1));
  }
  if (numbers.empty()) return std::nullopt;
  return numbers;
}

std::optional<Options> Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || i + 1 >= argc) {
      std::cerr << (arg == "--help" ? "" : "kst90-bench: " + std::string(arg) + " needs a value\n")
                << kUsage;
      return std::nullopt;
    }
    const std::string_view value = argv[++i];
    bool ok = true;
    if (arg == "--program") {
      o.program = value;
    } else if (arg == "--sim") {
      o.sim = value;
    } else if (arg == "--turnaround") {
      const auto list = Numbers(value);
      ok = list.has_value();
      if (ok) o.turnarounds = *list;
    } else if (arg == "--image") {
      o.images.clear();
      for (const char c : value) {
        if (c == 'a' || c == 'A') {
          o.images.push_back({'A', 1, FirmwareImageA});
        } else if (c == 'b' || c == 'B') {
          o.images.push_back({'B', 4, FirmwareImageB});
        } else {
          ok = ok && c == ',';
        }
      }
      ok = ok && !o.images.empty();
    } else if (arg == "--front-end") {
      o.front_ends.clear();
      for (std::string_view rest = value; ok && !rest.empty();) {
        const std::string_view item = rest.substr(0, rest.find(','));
        ok = item == "terminal" || item == "gtk";
        o.front_ends.emplace_back(item);
        rest.remove_prefix(std::min(rest.size(), item.size() + 1));
      }
      ok = ok && !o.front_ends.empty();
    } else if (arg == "--runs" || arg == "--com") {
      const auto list = Numbers(value);
      ok = list && list->size() == 1 && list->front() > 0;
      if (ok) (arg == "--runs" ? o.runs : o.com) = list->front();
    } else {
      std::cerr << "kst90-bench: unknown option " << arg << "\n" << kUsage;
      return std::nullopt;
    }
    if (!ok) {
      std::cerr << "kst90-bench: bad value for " << arg << "\n" << kUsage;
      return std::nullopt;
    }
  }
  return o;
}

struct TimedByte {
  Clock::time_point at;
  bool to_device;
  int byte;
};

std::vector<TimedByte> ReadTimeline(const fs::path& file) {
  std::vector<TimedByte> timeline;
  std::ifstream in(file);
  long long ns = 0;
  std::string direction;
  std::string byte;
  while (in >> ns >> direction >> byte) {
    timeline.push_back({Clock::time_point(std::chrono::nanoseconds(ns)), direction == "->",
                        std::stoi(byte, nullptr, 16)});
  }
  return timeline;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// What one run left behind.
struct Run {
  std::optional<Clock::time_point> connection;  // Connection pressed
  std::optional<Clock::time_point> result;      // the result screen shown, where seen
  Ended ended{-1, {}};
  std::vector<TimedByte> timeline;
  std::vector<StampedLine> transcript;
};

// The boundaries of the update on the device's side: the ready byte (the
// power-on wait is over), the acknowledgement of 144 (the check is over)
// and the last answer before 145 (the version stamp: programming is over).
struct Boundaries {
  std::optional<Clock::time_point> ready, started, stamped;
};

Boundaries FindBoundaries(const std::vector<TimedByte>& timeline, Clock::time_point from) {
  Boundaries b;
  bool start_sent = false;
  std::optional<Clock::time_point> last_answer;
  for (const TimedByte& t : timeline) {
    if (t.at < from) continue;
    if (!t.to_device) last_answer = t.at;
    if (!b.ready) {
      if (!t.to_device && t.byte == 129) b.ready = t.at;
    } else if (!b.started) {
      if (t.to_device) start_sent = t.byte == 144;
      if (!t.to_device && start_sent && t.byte == 132) b.started = t.at;
    } else if (t.to_device && t.byte == 145) {
      b.stamped = last_answer;
      break;
    }
  }
  return b;
}

// From the acknowledgement of one program word reaching the host to the
// next word's command leaving it: what the host (and the simulator's own
// wake-up) adds to each exchange beyond the line and the turnaround.
struct Reactions {
  Seconds mean{0};
  Seconds p90{0};
  Seconds row_switch{0};  // median gap before a row's first word: the wait for its tick, if any
};

// first_of_row: for each program word of the image in order, whether it
// opens its row; the gap before such a word holds the wait for the tick.
Reactions ProgramWordReactions(const std::vector<TimedByte>& timeline, Clock::time_point from,
                               Clock::time_point to, const std::vector<bool>& first_of_row) {
  std::vector<Seconds> gaps;
  std::vector<Seconds> switches;
  std::size_t word = 0;
  for (std::size_t i = 0; i + 1 < timeline.size(); ++i) {
    const TimedByte& ack = timeline[i];
    const TimedByte& next = timeline[i + 1];
    if (ack.at < from || next.at > to) continue;
    if (ack.to_device && ack.byte == 141) ++word;
    if (ack.to_device || ack.byte != 132 || !next.to_device || next.byte != 141) continue;
    // The command reached the device one byte time after it left the host.
    const Seconds gap = next.at - ack.at - kByteTime;
    (word < first_of_row.size() && first_of_row[word] ? switches : gaps).push_back(gap);
  }
  if (gaps.empty() || switches.empty()) return {};
  std::sort(gaps.begin(), gaps.end());
  std::sort(switches.begin(), switches.end());
  Seconds sum{0};
  for (const Seconds gap : gaps) sum += gap;
  return {sum / static_cast<double>(gaps.size()), gaps[gaps.size() * 9 / 10],
          switches[switches.size() / 2]};
}

// One phase of the update.
struct Phase {
  const char* name;
  Seconds pacing;      // what the steps' timers take at the least
  Seconds tick_floor;  // the timers and the exchanges inside the ticks together
  std::optional<Clock::time_point> from, to;
};

void PrintRow(const Phase& phase, const std::vector<TimedByte>& timeline) {
  std::size_t out = 0, in = 0;
  if (phase.from && phase.to) {
    for (const TimedByte& byte : timeline) {
      if (byte.at <= *phase.from || byte.at > *phase.to) continue;
      ++(byte.to_device ? out : in);
    }
  }
  const Seconds wire = static_cast<double>(out + in) * kByteTime;
  const Seconds floor = std::max(wire, phase.pacing);
  char line[200];
  if (phase.from && phase.to) {
    const Seconds wall = *phase.to - *phase.from;
    std::snprintf(line, sizeof line, "%-19s %9zu %8zu %8.3f %8.3f %8.3f %10.3f %6.3f %6.3f\n",
                  phase.name, out, in, wire.count(), phase.pacing.count(), phase.tick_floor.count(),
                  wall.count(), wall / floor, wall / phase.tick_floor);
  } else {
    std::snprintf(line, sizeof line, "%-19s %9s %8s %8s %8.3f %8.3f %10s %6s %6s\n", phase.name,
                  "-", "-", "-", phase.pacing.count(), phase.tick_floor.count(), "-", "-", "-");
  }
  std::cout << line;
}

// A temporary COM directory and Windows directory for one run, with the
// device attached to it.
class Bench {
 public:
  Bench(const Options& options, const Image& image, int turnaround) {
    char pattern[] = "/tmp/kst90-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp");
    dir_ = pattern;
    fs::create_directory(dir_ / "com");
    fs::create_directory(dir_ / "windows");
    setenv("KST90_COM_DIR", (dir_ / "com").c_str(), 1);
    setenv("KST90_WINDOWS_DIR", (dir_ / "windows").c_str(), 1);
    device_.emplace(std::vector<std::string>{
        options.sim, "--com", std::to_string(options.com), "--as-adapter", "--turnaround",
        std::to_string(turnaround), "--variant", std::to_string(image.variant), "--timeline",
        (dir_ / "timeline").string()});
    if (!device_->ReadUntil("attached as COM", 10s)) {
      throw std::runtime_error("kst90-sim did not attach");
    }
  }
  ~Bench() {
    device_.reset();
    fs::remove_all(dir_);
  }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  std::vector<TimedByte> StopDevice() {
    device_->Signal(SIGTERM);
    device_->Finish(10s);
    return ReadTimeline(dir_ / "timeline");
  }

 private:
  fs::path dir_;
  std::optional<Child> device_;
};

Run RunTerminal(const Options& options, Bench& bench) {
  Run run;
  Child program({options.program, "--terminal", "--lang", "en", "--port",
                 "COM" + std::to_string(options.com), "--yes"});
  run.ended = program.Finish(180s);
  run.timeline = bench.StopDevice();
  run.transcript = program.Lines();
  for (const StampedLine& line : run.transcript) {
    if (!run.connection && line.text.find("Step n\xC2\xB0 7 of 10") != std::string::npos) {
      run.connection = line.at;
    }
    if (!run.result && line.text.find("Step n\xC2\xB0 10 of 10") != std::string::npos) {
      run.result = line.at;
    }
  }
  return run;
}

// Runs a command to its end; true when it succeeded.
bool RunCommand(const std::vector<std::string>& command) {
  Child child(command);
  return child.Finish(10s).status == 0;
}

// The GTK front end on the display in $DISPLAY, driven by mouse clicks on
// its window as a user would make them: Next four times to the port step,
// where the adapter is already chosen, Next, then Connection, which stands
// in the same place. The program does not end by itself on the result
// screen: it is stopped once the update has had ample time.
Run RunGtk(const Options& options, Bench& bench, Seconds expected) {
  Run run;
  Child program({options.program, "--lang", "en"});
  // The centre of ButtonSuivant, in the window's client coordinates.
  const auto click_next = [pid = std::to_string(program.Pid())] {
    return RunCommand({"xdotool", "search", "--sync", "--onlyvisible", "--pid", pid, "--name", ".",
                       "mousemove", "--window", "%1", "528", "394", "click", "1"});
  };
  bool driven = true;
  for (int i = 0; i < 4 && driven; ++i) {
    driven = click_next();
    std::this_thread::sleep_for(300ms);
  }
  // The port list follows the port map once a second.
  std::this_thread::sleep_for(1500ms);
  driven = driven && click_next();
  std::this_thread::sleep_for(300ms);
  if (driven) {
    run.connection = Clock::now();
    driven = click_next();
  }
  if (!driven) run.connection.reset();
  if (driven) {
    std::this_thread::sleep_until(
        *run.connection + std::chrono::duration_cast<Clock::duration>(expected * 1.25) + 5s);
  }
  program.Signal(SIGTERM);
  run.ended = program.Finish(10s);
  run.timeline = bench.StopDevice();
  run.transcript = program.Lines();
  return run;
}

// One whole update and its table; false when it did not reach the result.
bool Measure(const Options& options, const Image& image, int turnaround, int run_number,
             const std::string& front_end) {
  const std::string load_before = LoadAverage();
  // The floors, from the image and the line.
  const Seconds t = std::chrono::milliseconds(turnaround);
  const std::vector<const char*> rows = ImageRows(image.rows);
  std::vector<Seconds> works;
  for (const char* row : rows) works.push_back(RowWork(row, t));
  const Seconds programming_ticks = TickedFloor(works, 100ms);
  const Seconds row_pacing = static_cast<double>(rows.size()) * Seconds(100ms);
  // Power-on: the first tick after 2250 ms, a purge of one second, the
  // wake-up and its answer. Check: four ticks of 200 ms, the last one
  // unlocking and starting programming (two commands, two answers).
  const Seconds power_on_pacing = Seconds(2250ms) + Seconds(1000ms);
  const Seconds power_on_ticks = power_on_pacing + 2 * kByteTime + t;
  const Seconds check_pacing = 4 * Seconds(200ms);
  const Seconds check_ticks = check_pacing + 2 * (2 * kByteTime + t);
  const Seconds total_ticks = power_on_ticks + check_ticks + programming_ticks;

  Bench bench(options, image, turnaround);
  const Run run =
      front_end == "gtk" ? RunGtk(options, bench, total_ticks) : RunTerminal(options, bench);
  Boundaries b;
  if (run.connection) b = FindBoundaries(run.timeline, *run.connection);
  const Phase phases[] = {
      {"power-on wait", power_on_pacing, power_on_ticks, run.connection, b.ready},
      {"device check", check_pacing, check_ticks, b.ready, b.started},
      {"programming", row_pacing, programming_ticks, b.started, b.stamped},
      {"connection->result", power_on_pacing + check_pacing + row_pacing, total_ticks,
       run.connection, b.stamped},
  };

  std::cout << "\n"
            << front_end << "  image " << image.name << " (" << rows.size() << " rows, variant "
            << image.variant << ")  turnaround " << turnaround << " ms  run " << run_number << "/"
            << options.runs << "  load " << load_before << " -> " << LoadAverage() << "\n";
  std::cout << "phase               bytes out bytes in   wire s pacing s   tick s measured s"
               "    max   tick\n";
  for (const Phase& phase : phases) PrintRow(phase, run.timeline);
  char tail[160];
  const double screen_lag = run.result && b.stamped
                                ? std::chrono::duration<double>(*run.result - *b.stamped).count()
                                : -1.0;
  std::snprintf(tail, sizeof tail, "program CPU s %.3f  exit status %d  result screen lag s %.3f\n",
                std::chrono::duration<double>(run.ended.cpu).count(), run.ended.status, screen_lag);
  std::cout << tail;
  if (b.started && b.stamped) {
    const Reactions r =
        ProgramWordReactions(run.timeline, *b.started, *b.stamped, FirstWordsOfRows(rows));
    std::vector<Seconds> late_works;
    for (const char* row : rows) late_works.push_back(RowWork(row, t + r.mean));
    const Seconds late_floor = TickedFloor(late_works, 100ms);
    std::snprintf(tail, sizeof tail,
                  "host per word ms mean %.3f p90 %.3f  before a row ms %.3f  "
                  "tick s with it %.3f  measured/that %.3f\n",
                  r.mean.count() * 1000, r.p90.count() * 1000, r.row_switch.count() * 1000,
                  late_floor.count(), (*b.stamped - *b.started) / late_floor);
    std::cout << tail;
  }
  std::cout << std::flush;
  // The GTK program is stopped by a signal; the device tells whether it got through.
  const bool complete = (front_end == "gtk" || run.ended.status == 0) && b.stamped.has_value();
  if (!complete) {
    std::cerr << "kst90-bench: the update did not reach the result screen; the program wrote:\n";
    for (const StampedLine& line : run.transcript) std::cerr << line.text << "\n";
  }
  return complete;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  const std::optional<bench::Options> options = bench::Parse(argc, argv);
  if (!options) return 2;
  std::cout << "kst90-bench: 9600 baud 8E1, byte time " << bench::kByteTime.count() * 1000
            << " ms; wire = bytes x byte time, pacing = the steps' timer intervals,\n"
               "tick = timers and the exchanges inside the ticks; max = measured / "
               "max(wire, pacing), tick = measured / tick\n"
            << std::flush;
  bool all_complete = true;
  try {
    for (const std::string& front_end : options->front_ends) {
      for (const bench::Image& image : options->images) {
        for (const int turnaround : options->turnarounds) {
          for (int run = 1; run <= options->runs; ++run) {
            all_complete =
                bench::Measure(*options, image, turnaround, run, front_end) && all_complete;
          }
        }
      }
    }
  } catch (const std::exception& error) {
    std::cerr << "kst90-bench: " << error.what() << "\n";
    return 1;
  }
  return all_complete ? 0 : 1;
}
