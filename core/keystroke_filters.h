#pragma once
// Per-keystroke rules of the input fields. A key is one typed character;
// setting it to 0 discards it.

#include <string_view>

namespace kvorn {

inline constexpr char32_t Backspace = 8;

// Digits and backspace pass.
void DigitFilter(char32_t& key);

// Digits and backspace pass; a typed point or comma becomes `separator` and
// passes only while `fieldText` holds no separator yet.
void DecimalFilter(char32_t& key, std::string_view fieldText, char32_t separator);

// Nothing passes, backspace included.
void BlockAllFilter(char32_t& key);

}  // namespace kvorn
