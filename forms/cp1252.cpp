#include "forms/cp1252.h"

#include <array>
#include <cstdint>

namespace forms {
namespace {

// Code points of bytes 0x80 to 0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80U];
  return byte;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (unsigned i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const char32_t cp = CodePointOf(static_cast<unsigned char>(c));
    // The five undefined bytes map to the replacement character.
    AppendUtf8(out, cp == 0 && c != 0 ? char32_t{0xFFFD} : cp);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || i + length > text.size()) {
      out += '?';
      ++i;
      continue;
    }
    char32_t cp = length == 1 ? lead : lead & (0x7FU >> length);
    bool valid = true;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (next & 0x3FU);
    }
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    out += ByteOf(cp);
    i += length;
  }
  return out;
}

}  // namespace forms
