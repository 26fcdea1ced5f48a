#include "forms/win32/wide_text.h"

#include <windows.h>

namespace forms::win32 {

namespace {
constexpr UINT kWindows1252 = 1252;
}  // namespace

std::wstring Cp1252ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(kWindows1252, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(kWindows1252, 0, text.data(), length, wide.data(), needed);
  return wide;
}

std::string WideToCp1252(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(kWindows1252, 0, text.data(), length, nullptr, 0, "?", nullptr);
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(kWindows1252, 0, text.data(), length, narrow.data(), needed, "?", nullptr);
  return narrow;
}

}  // namespace forms::win32
