#pragma once
// The program's command-line options. On Windows the program takes none.

#include <cstdint>
#include <string>

#include "forms/native_backend.h"

struct CommandLine {
  forms::FrontEndOptions front_end;
  std::int32_t language = -1;  // --lang: 0 French, 1 English; -1 keeps the settings file's
  bool help = false;
  std::string error;  // what was wrong with the words; empty when nothing was
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// The options, one a line, for --help and after an error.
const char* Usage();
