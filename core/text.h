#pragma once
// Small UTF-8 helpers: the program keeps text as UTF-8, and a few rules need
// to look at one character rather than one byte.

#include <cstddef>
#include <string>
#include <string_view>

namespace kvorn {

std::string EncodeUtf8(char32_t c);

// The first character of `text`; `length` receives its byte count (0 when
// `text` is empty). Malformed bytes decode as U+FFFD, one byte at a time.
char32_t DecodeUtf8(std::string_view text, std::size_t& length);

std::size_t CountCharacters(std::string_view text);

}  // namespace kvorn
