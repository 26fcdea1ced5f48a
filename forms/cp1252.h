#pragma once
// Texts inside the components are Windows-1252 byte strings; toolkits and
// terminals speak UTF-8. Backends convert at their edge with these.

#include <string>
#include <string_view>

namespace forms {

std::string Cp1252ToUtf8(std::string_view text);
// Characters that Windows-1252 cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace forms
