#include "jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <jpeglib.h>

namespace kvorn {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct RawPalette {
    int colours = 0;
    unsigned char map[3][256] = {};
};

extern "C" void FailDecoding(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg only warns about corrupt data and fills the rest in grey; a
// picture that is not whole is an error here.
extern "C" void OnMessage(j_common_ptr info, int level)
{
    if (level < 0)
        FailDecoding(info);
}

// The caller's rows, or none where it throws.
JpegRows AskForRows(const JpegRowSource& rows, unsigned width, unsigned height) noexcept
{
    try {
        return rows(width, height);
    } catch (...) {
        return {};
    }
}

// Everything in this frame is plain C data, so libjpeg's longjmp back into
// it passes over no C++ destructor.
bool DecodeRaw(const unsigned char* data, unsigned long size, JpegColours colours, const JpegRowSource& target,
               RawPalette* palette, char* message)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = FailDecoding;
    errors.base.emit_message = OnMessage;
    if (setjmp(errors.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = colours == JpegColours::FullBgrx ? JCS_EXT_BGRX : JCS_RGB;
    if (colours == JpegColours::Quantised) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = QuantisedColourCount;
    }
    jpeg_start_decompress(&info);
    const JpegRows rows = AskForRows(target, info.output_width, info.output_height);
    if (!rows.First || rows.Stride < std::size_t(info.output_width) * unsigned(info.output_components)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "no memory for a %ux%u picture", info.output_width, info.output_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows.First + rows.Stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (colours == JpegColours::Quantised) {
        palette->colours = info.actual_number_of_colors;
        for (int c = 0; c < 3; ++c)
            std::memcpy(palette->map[c], info.colormap[c], static_cast<std::size_t>(palette->colours));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

std::string DecodeJpegInto(const unsigned char* data, std::size_t size, JpegColours colours, const JpegRowSource& rows,
                           std::vector<std::array<unsigned char, 3>>* palette)
{
    if (!data || size == 0)
        return "the picture is empty";
    auto raw = std::make_unique<RawPalette>();
    char message[JMSG_LENGTH_MAX] = {};
    if (!DecodeRaw(data, static_cast<unsigned long>(size), colours, rows, raw.get(), message))
        return message[0] ? message : "the picture cannot be decoded";
    if (palette) {
        palette->clear();
        for (int i = 0; i < raw->colours; ++i)
            palette->push_back({raw->map[0][i], raw->map[1][i], raw->map[2][i]});
    }
    return {};
}

DecodedJpeg DecodeJpegData(const unsigned char* data, std::size_t size, JpegColours colours)
{
    DecodedJpeg result;
    const unsigned components = colours == JpegColours::Quantised ? 1 : colours == JpegColours::FullBgrx ? 4 : 3;
    result.Error = DecodeJpegInto(
        data, size, colours,
        [&result, components](unsigned width, unsigned height) {
            result.Width = width;
            result.Height = height;
            result.Pixels.resize(std::size_t(width) * components * height);
            return JpegRows{result.Pixels.data(), std::size_t(width) * components};
        },
        &result.Palette);
    if (!result.Error.empty()) {
        result.Width = result.Height = 0;
        result.Pixels.clear();
        result.Palette.clear();
    }
    return result;
}

}  // namespace kvorn
