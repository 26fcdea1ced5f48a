#include "forms/text.h"

#include <cstdarg>
#include <cstdio>
#include <limits>
#include <vector>

namespace forms {

std::string Trim(const std::string& text) {
  auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && is_blank(text[begin])) ++begin;
  while (end > begin && is_blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string AnsiUpperCase(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    unsigned char upper = b;
    if (b >= 'a' && b <= 'z') {
      upper = static_cast<unsigned char>(b - 0x20);
    } else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {  // à..þ except ÷
      upper = static_cast<unsigned char>(b - 0x20);
    } else if (b == 0x9A || b == 0x9C || b == 0x9E) {  // š œ ž
      upper = static_cast<unsigned char>(b - 0x10);
    } else if (b == 0xFF) {  // ÿ
      upper = 0x9F;
    }
    c = static_cast<char>(upper);
  }
  return out;
}

std::int32_t StrToIntDef(const std::string& text, std::int32_t fallback) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return fallback;
  // Accumulate as a magnitude so the most negative value still fits.
  const std::int64_t limit =
      negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
               : std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return fallback;
    value = value * 10 + (text[i] - '0');
    if (value > limit) return fallback;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::string Format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string out;
  if (length > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    out.assign(buffer.data(), static_cast<std::size_t>(length));
  }
  va_end(args);
  return out;
}

}  // namespace forms
