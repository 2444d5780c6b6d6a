#pragma once
// The background picture's decoder, shared by both windows: libjpeg with its
// default decompression parameters, no toolkit.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace kvorn {

enum class JpegColours {
    Full,       // 24-bit colour
    Quantised,  // libjpeg's colour quantiser, for screens of 8 bits or fewer
};

// The colour count libjpeg is asked to reduce to.
inline constexpr int QuantisedColourCount = 236;

struct DecodedJpeg {
    unsigned Width = 0, Height = 0;
    // Rows top to bottom, no padding: RGB triples, or one palette index
    // per pixel when quantised.
    std::vector<unsigned char> Pixels;
    std::vector<std::array<unsigned char, 3>> Palette;  // quantised only
    std::string Error;  // why it failed; empty on success
};

// A corrupt or truncated picture is an error, libjpeg's warnings included.
DecodedJpeg DecodeJpegData(const unsigned char* data, std::size_t size, JpegColours colours);

}  // namespace kvorn
