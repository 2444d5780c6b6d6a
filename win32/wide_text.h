#pragma once
// Text is UTF-16 at the Windows API and UTF-8 everywhere else.

#include <string>
#include <string_view>

namespace kvorn {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace kvorn
