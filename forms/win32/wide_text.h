#pragma once
// The components hold Windows-1252 texts; the W functions take UTF-16.
// Converting with code page 1252 itself, not the system's ANSI page, keeps
// accented letters right on any system.

#include <string>
#include <string_view>

namespace forms::win32 {

std::wstring Cp1252ToWide(std::string_view text);
// Characters outside Windows-1252 become '?'.
std::string WideToCp1252(std::wstring_view text);

}  // namespace forms::win32
