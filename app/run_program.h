#pragma once
// The program's start-up, on whatever backend and platform it is given:
// both forms, the language from the settings file, the message loop, and
// the error box for any failure that escapes them. Returns 0 on every path.
// language: one chosen on the command line, given to the wizard after the
// settings file's; -1 (which the wizard ignores) when none was.

#include <cstdint>

#include "forms/backend.h"
#include "platform/services.h"

inline constexpr const char* kApplicationTitle = "Kst90VIIMj3_5Daz";

int RunProgram(forms::Backend& backend, platform::Services& services, std::int32_t language = -1);
