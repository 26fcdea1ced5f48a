#include "forms/gtk/mnemonic.h"

#include "forms/cp1252.h"

namespace forms::gtk {

std::string MnemonicLabel(const std::string& caption) {
  std::string converted;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '_') {
      converted += "__";
    } else if (c == '&' && i + 1 < caption.size()) {
      // "&&" is a literal ampersand; '&' before anything else marks it.
      const char marked = caption[++i];
      if (marked == '&') {
        converted += '&';
      } else if (marked == '_') {
        converted += "__";  // GTK cannot underline an underscore
      } else {
        converted += '_';
        converted += marked;
      }
    } else {
      converted += c;
    }
  }
  return Cp1252ToUtf8(converted);
}

}  // namespace forms::gtk
