#include "forms/gtk/fonts.h"

namespace forms::gtk {
namespace {

// Metric-compatible stand-ins first, then whatever sans-serif face there is.
constexpr const char* kFamilies = "Liberation Sans,Arimo,Arial,Sans";

// Everything small and tight, so that controls fit their designed sizes;
// no transitions, so a change shows at once as it does on the designed platform.
constexpr const char* kStyleSheet = R"css(
.kst-window, .kst-window * {
  font-family: "Liberation Sans", Arimo, Arial, Sans;
  font-size: 11px;
  transition: none;
}
.kst-window button {
  min-height: 0;
  min-width: 0;
  padding: 0 4px;
}
.kst-window entry {
  min-height: 0;
  padding: 0 4px;
}
.kst-window entry.kst-button-face {
  background-color: @theme_bg_color;
  background-image: none;
}
.kst-window list row {
  min-height: 0;
  padding: 0 2px;
}
)css";

PangoAttrList* NewAttributes(const FontSpec& font) {
  PangoAttrList* attributes = pango_attr_list_new();
  const FontDescription description = DescribeFont(font);
  pango_attr_list_insert(attributes, pango_attr_font_desc_new(description.get()));
  if (font.style.underline) {
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  if (font.color == Color::Blue) {
    pango_attr_list_insert(attributes, pango_attr_foreground_new(0, 0, 0xFFFF));
  }
  return attributes;
}

}  // namespace

FontDescription DescribeFont(const FontSpec& font) {
  FontDescription description(pango_font_description_new());
  pango_font_description_set_family(description.get(), kFamilies);
  pango_font_description_set_absolute_size(description.get(),
                                           FontHeightPixels(font.size) * PANGO_SCALE);
  pango_font_description_set_weight(description.get(),
                                    font.style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description.get(),
                                   font.style.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

void ApplyFont(GtkLabel* label, const FontSpec& font) {
  PangoAttrList* attributes = NewAttributes(font);
  gtk_label_set_attributes(label, attributes);
  pango_attr_list_unref(attributes);
}

void ApplyFont(GtkEntry* entry, const FontSpec& font) {
  PangoAttrList* attributes = NewAttributes(font);
  gtk_entry_set_attributes(entry, attributes);
  pango_attr_list_unref(attributes);
}

int MeasureText(const std::string& utf8, const FontSpec& font) {
  PangoContext* context = gdk_pango_context_get();
  PangoLayout* layout = pango_layout_new(context);
  const FontDescription description = DescribeFont(font);
  pango_layout_set_font_description(layout, description.get());
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  int width = 0;
  pango_layout_get_pixel_size(layout, &width, nullptr);
  g_object_unref(layout);
  g_object_unref(context);
  return width;
}

void InstallStyleSheet() {
  GdkScreen* screen = gdk_screen_get_default();
  constexpr const char* kInstalledKey = "kst-style-sheet";
  if (g_object_get_data(G_OBJECT(screen), kInstalledKey) != nullptr) return;
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kStyleSheet, -1, nullptr);
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  // The screen keeps the provider for the rest of the process.
  g_object_set_data_full(G_OBJECT(screen), kInstalledKey, provider, g_object_unref);
}

}  // namespace forms::gtk
