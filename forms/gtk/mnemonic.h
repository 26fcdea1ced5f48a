#pragma once
// Captions mark their mnemonic letter with '&' ("&&" for a real ampersand);
// GTK marks it with '_' ("__" for a real underscore).

#include <string>

namespace forms::gtk {

// A Windows-1252 caption as a UTF-8 GTK mnemonic label.
std::string MnemonicLabel(const std::string& caption);

}  // namespace forms::gtk
