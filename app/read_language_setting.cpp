#include "app/read_language_setting.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace {

constexpr std::uint32_t kDirectorySizeDeclared = 198;  // of a 200-byte buffer
constexpr std::uint32_t kMaxFileBytes = 200;

// Removes blanks and control characters (codes up to 32) from both ends.
std::string Trim(const std::string& text) {
  const auto is_space = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  const auto first = std::find_if_not(text.begin(), text.end(), is_space);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), is_space).base();
  return first < last ? std::string(first, last) : std::string();
}

// An optionally signed decimal integer that fits in an int, else 0.
int StrToIntDef0(const std::string& text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  if (i == text.size()) return 0;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return 0;
  return static_cast<int>(value);
}

}  // namespace

int ReadLanguageSetting(platform::SystemServices& system) {
  char directory[200] = {};
  const std::uint32_t length = system.GetWindowsDirectoryA(directory, kDirectorySizeDeclared);
  // Without a whole directory name there is no path to the file: as if it were missing.
  if (length == 0 || length >= kDirectorySizeDeclared) return 0;
  const std::string path = std::string(directory) + "\\ZerbiumV1.CFG";
  if (!system.FileExists(path)) return 0;

  char contents[kMaxFileBytes + 1];
  std::uint32_t count = 0;
  {
    const auto stream = system.OpenRead(path);
    count = std::min(stream->Read(contents, kMaxFileBytes), kMaxFileBytes);
  }
  contents[count] = '\0';
  std::string text(contents);  // up to the first NUL

  // From the key on, if it is there; otherwise the whole text is searched.
  if (const auto key = text.find("Langue"); key != std::string::npos) text.erase(0, key);
  text = Trim(text);

  // Positions count from 1 with 0 for absent, so a missing "=" makes the value
  // everything before the first ";".
  const auto position = [&text](char c) {
    const auto found = text.find(c);
    return found == std::string::npos ? 0 : static_cast<long long>(found) + 1;
  };
  const long long equals = position('=');
  const long long semicolon = position(';');
  const long long value_length = semicolon - equals - 1;
  if (value_length < 1) return 0;
  return StrToIntDef0(
      Trim(text.substr(static_cast<std::size_t>(equals), static_cast<std::size_t>(value_length))));
}
