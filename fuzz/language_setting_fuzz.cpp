// The language-setting reader fed any settings file: it must return without
// crashing, and with the value an independent, plain reading of the file
// gives (0 unless the text between "=" and ";" is a whole int).
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/read_language_setting.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/fake_system_services.h"

using kst_fuzz::Require;

namespace {

constexpr std::size_t kReadLimit = 200;

std::string_view TrimmedView(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

int WholeIntOrZero(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  long long magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 1LL << 32) return 0;  // leading zeros are fine, more digits are not
  }
  const long long value = negative ? -magnitude : magnitude;
  return value < INT_MIN || value > INT_MAX ? 0 : static_cast<int>(value);
}

// What the file says, read the plain way: the first 200 bytes up to a NUL,
// from the key on if it is there, the text between the first "=" and the
// first ";" after trimming (all before ";" when there is no "=").
int ExpectedLanguage(const std::string& contents) {
  std::string_view text(contents.data(), std::min(contents.size(), kReadLimit));
  text = text.substr(0, text.find('\0'));
  if (const auto key = text.find("Langue"); key != std::string_view::npos) text.remove_prefix(key);
  text = TrimmedView(text);
  const auto semicolon = text.find(';');
  if (semicolon == std::string_view::npos) return 0;
  const auto equals = text.find('=');
  const std::size_t start = equals == std::string_view::npos ? 0 : equals + 1;
  if (equals != std::string_view::npos && semicolon <= start) return 0;
  if (semicolon == 0) return 0;
  return WholeIntOrZero(TrimmedView(text.substr(start, semicolon - start)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  kst_test::FakeSystemServices system;
  // Sometimes a directory name that does not fit the declared 198 bytes.
  const bool long_directory = input.ConsumeIntegralInRange<int>(0, 15) == 0;
  if (long_directory) system.windows_directory = "C:\\" + std::string(200, 'W');
  const std::string contents = input.ConsumeRemainingBytesAsString();
  system.files[system.windows_directory + "\\ZerbiumV1.CFG"] = contents;

  const int language = ReadLanguageSetting(system);
  const int expected = long_directory ? 0 : ExpectedLanguage(contents);
  Require(language == expected, "the language read is the value the file holds");
  return 0;
}
