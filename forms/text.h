#pragma once
// The run-time text functions the program uses, on Windows-1252 byte strings.

#include <cstdint>
#include <string>

namespace forms {

// Removes every character of code 32 or below from both ends.
std::string Trim(const std::string& text);

// Upper-cases ASCII and the Windows-1252 accented letters (é -> É, œ -> Œ, ÿ -> Ÿ).
std::string AnsiUpperCase(const std::string& text);

// An optionally signed decimal integer that fits 32 bits gives its value;
// anything else, the empty text included, gives fallback.
std::int32_t StrToIntDef(const std::string& text, std::int32_t fallback);

// printf-style formatting into a new string, always with a point as decimal
// separator as long as nobody changes the C locale's LC_NUMERIC. The format
// usually comes from the text catalogue, so it cannot be checked at compile
// time: pass std::string arguments as c_str() and a std::uint32_t for %lu as
// unsigned long.
std::string Format(const char* format, ...);

}  // namespace forms
