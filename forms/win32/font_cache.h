#pragma once
// The fonts the components ask for, created once each and kept for the
// backend's lifetime, so a control can be handed one with WM_SETFONT.

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "forms/types.h"

namespace forms::win32 {

class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  HFONT Get(const FontSpec& font);
  // Size in pixels of text (Windows-1252) drawn in font on the screen.
  SIZE Measure(const std::string& text, const FontSpec& font);

 private:
  using Key = std::tuple<std::string, int, bool, bool, bool>;
  std::map<Key, HFONT> fonts_;
};

}  // namespace forms::win32
