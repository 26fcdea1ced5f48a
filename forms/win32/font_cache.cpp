#include "forms/win32/font_cache.h"

#include "forms/win32/wide_text.h"

namespace forms::win32 {

FontCache::~FontCache() {
  for (const auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(const FontSpec& font) {
  const Key key{font.name, font.size, font.style.bold, font.style.italic, font.style.underline};
  if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
  // A negative height asks for the character height: 8 pt is 11 pixels at 96 dpi.
  HFONT created =
      CreateFontW(-FontHeightPixels(font.size), 0, 0, 0, font.style.bold ? FW_BOLD : FW_NORMAL,
                  font.style.italic, font.style.underline, FALSE, DEFAULT_CHARSET,
                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                  DEFAULT_PITCH | FF_SWISS, Cp1252ToWide(font.name).c_str());
  fonts_.emplace(key, created);
  return created;
}

SIZE FontCache::Measure(const std::string& text, const FontSpec& font) {
  SIZE size{0, 0};
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, Get(font));
  const std::wstring wide = Cp1252ToWide(text);
  GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return size;
}

}  // namespace forms::win32
