#pragma once
// Text is UTF-16 at the Windows API and UTF-8 everywhere else.

#include <windows.h>

#include <string>
#include <string_view>

namespace kvorn {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);
// A window's text, as GetWindowText gives it.
std::wstring WindowText(HWND window);

}  // namespace kvorn
