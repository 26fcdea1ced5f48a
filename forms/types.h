#pragma once
// Small value types shared by the components: fonts, colours, alignment.

namespace forms {

// The style set of a font; a screen replaces it as a whole.
struct FontStyles {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const FontStyles&) const = default;
};
inline constexpr FontStyles kPlain{};
inline constexpr FontStyles kBold{.bold = true};
inline constexpr FontStyles kItalic{.italic = true};

enum class Color { Default, ButtonFace, Blue };

struct FontSpec {
  const char* name = "MS Sans Serif";
  int size = 8;  // points
  FontStyles style;
  Color color = Color::Default;
  bool operator==(const FontSpec&) const = default;
};

// Height in pixels of a font of the given point size on a 96 dpi screen (8 pt -> 11).
constexpr int FontHeightPixels(int points) {
  return (points * 96 + 36) / 72;
}

enum class Alignment { LeftJustify, Center, RightJustify };

enum class Cursor { Default, HandPoint };

}  // namespace forms
