#include "error_box_text.h"

#include "final_point.h"
#include "text.h"

namespace kvorn {

namespace {

// Byte offset of the character `count` characters into `text`.
std::size_t OffsetOf(std::string_view text, std::size_t count)
{
    std::size_t offset = 0;
    for (; count > 0 && offset < text.size(); --count) {
        std::size_t length = 0;
        DecodeUtf8(text.substr(offset), length);
        offset += length;
    }
    return offset;
}

}  // namespace

std::string ErrorBoxText(std::string_view message)
{
    std::string text = WithFinalPoint(std::string(message));
    const std::size_t characters = CountCharacters(text);
    if (characters <= LongestShownMessage)
        return text;
    const std::size_t head = OffsetOf(text, LongestShownMessage / 2);
    const std::size_t tail = OffsetOf(text, characters - LongestShownMessage / 2);
    return text.substr(0, head) + " … " + text.substr(tail);
}

}  // namespace kvorn
