#pragma once
// The background picture's decoder, shared by both windows: libjpeg with its
// default decompression parameters, no toolkit.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kvorn {

enum class JpegColours {
    Full,       // 24-bit colour: red, green and blue bytes
    FullBgrx,   // the same as blue, green, red and 0xff: 0xffRRGGBB words on a little-endian machine
    Quantised,  // libjpeg's colour quantiser, for screens of 8 bits or fewer: one palette index
};

// The colour count libjpeg is asked to reduce to.
inline constexpr int QuantisedColourCount = 236;

struct DecodedJpeg {
    unsigned Width = 0, Height = 0;
    // Rows top to bottom, no padding, in the layout `JpegColours` names.
    std::vector<unsigned char> Pixels;
    std::vector<std::array<unsigned char, 3>> Palette;  // quantised only
    std::string Error;  // why it failed; empty on success
};

// A corrupt or truncated picture is an error, libjpeg's warnings included.
DecodedJpeg DecodeJpegData(const unsigned char* data, std::size_t size, JpegColours colours);

// Where the rows go: the caller's first row and the bytes from one row to
// the next, asked for once the size is known. A null row means no memory.
struct JpegRows {
    unsigned char* First = nullptr;
    std::size_t Stride = 0;
};
using JpegRowSource = std::function<JpegRows(unsigned width, unsigned height)>;

// The same straight into the caller's memory, which saves copying and
// touching fresh pages at start-up. Returns why it failed, or nothing; a
// quantised picture's palette goes to `palette`.
std::string DecodeJpegInto(const unsigned char* data, std::size_t size, JpegColours colours, const JpegRowSource& rows,
                           std::vector<std::array<unsigned char, 3>>* palette = nullptr);

}  // namespace kvorn
