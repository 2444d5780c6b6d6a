#include "text.h"

namespace kvorn {

std::string EncodeUtf8(char32_t c)
{
    std::string out;
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

char32_t DecodeUtf8(std::string_view text, std::size_t& length)
{
    length = 0;
    if (text.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    length = 1;
    if (lead < 0x80)
        return lead;
    std::size_t extra;
    char32_t value;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0xFFFD;
    }
    if (text.size() <= extra)
        return 0xFFFD;
    for (std::size_t i = 1; i <= extra; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0xFFFD;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0xFFFD;
    length = extra + 1;
    return value;
}

std::size_t CountCharacters(std::string_view text)
{
    std::size_t count = 0;
    while (!text.empty()) {
        std::size_t length;
        DecodeUtf8(text, length);
        text.remove_prefix(length);
        ++count;
    }
    return count;
}

}  // namespace kvorn
