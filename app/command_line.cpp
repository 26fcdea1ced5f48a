#include "app/command_line.h"

#include <string_view>

namespace {

// "COMn" in any case, n from 1 to 255 as the system numbers its ports; 0 otherwise.
int ComNumber(std::string_view name) {
  if (name.size() < 4 || name.size() > 6) return 0;
  for (std::size_t i = 0; i < 3; ++i) {
    if ((name[i] | 0x20) != "com"[i]) return 0;
  }
  int number = 0;
  for (char c : name.substr(3)) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number <= 255 ? number : 0;
}

}  // namespace

const char* Usage() {
  return "Usage: Kst90VIIMj3_5Daz [options]\n"
         "  --terminal     run in the terminal even where a display is available\n"
         "  --lang fr|en   the wizard's language, over the settings file's\n"
         "  --port COMn    pick serial port COMn and start the update at once\n"
         "  --yes, --no    answer every Yes/No message box so\n"
         "  --help         show this and stop\n"
         "--port, --yes and --no run in the terminal.\n";
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  for (int i = 1; i < argc && result.error.empty(); ++i) {
    const std::string_view word = argv[i];
    const bool has_value = i + 1 < argc;
    if (word == "--terminal") {
      result.front_end.terminal = true;
    } else if (word == "--help" || word == "-h") {
      result.help = true;
    } else if (word == "--yes" || word == "--no") {
      const auto answer = word == "--yes" ? forms::ModalResult::Yes : forms::ModalResult::No;
      if (result.front_end.yes_no_answer && *result.front_end.yes_no_answer != answer) {
        result.error = "--yes and --no exclude each other";
      }
      result.front_end.yes_no_answer = answer;
    } else if (word == "--lang") {
      const std::string_view value = has_value ? argv[++i] : "";
      if (value == "fr") {
        result.language = 0;
      } else if (value == "en") {
        result.language = 1;
      } else {
        result.error = "--lang takes fr or en";
      }
    } else if (word == "--port") {
      result.front_end.port = has_value ? ComNumber(argv[++i]) : 0;
      if (result.front_end.port == 0) result.error = "--port takes a port name, COM1 to COM255";
    } else {
      result.error = "unknown option " + std::string(word);
    }
  }
  return result;
}
