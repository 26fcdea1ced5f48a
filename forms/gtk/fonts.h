#pragma once
// The components' fonts in Pango terms, and the style sheet that gives our
// windows the compact metrics of the platform they were designed on.

#include <memory>
#include <string>

#include <gtk/gtk.h>

#include "forms/types.h"

namespace forms::gtk {

struct FontDescriptionDeleter {
  void operator()(PangoFontDescription* description) const {
    pango_font_description_free(description);
  }
};
using FontDescription = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;

// The designed face is not available: a sans-serif face of the same pixel
// height takes its place.
FontDescription DescribeFont(const FontSpec& font);

// Sets label's font, style, underline and colour to font's.
void ApplyFont(GtkLabel* label, const FontSpec& font);
void ApplyFont(GtkEntry* entry, const FontSpec& font);

// Width in pixels of utf8 text laid out in font.
int MeasureText(const std::string& utf8, const FontSpec& font);

// Style class of our toplevel windows and message boxes, which the style
// sheet applies to.
inline constexpr const char* kWindowClass = "kst-window";
// Style class of an entry drawn in the colour of buttons.
inline constexpr const char* kButtonFaceClass = "kst-button-face";
// Installs the style sheet on the default screen, once.
void InstallStyleSheet();

}  // namespace forms::gtk
