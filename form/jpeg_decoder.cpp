#include "jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace kvorn {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct RawImage {
    unsigned width = 0;
    unsigned height = 0;
    unsigned components = 0;
    unsigned char* pixels = nullptr;  // malloc'ed: freed on the C side of the jump too
    int colours = 0;
    unsigned char colourMap[3][256] = {};
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

// Everything in this frame is plain C data, so libjpeg's longjmp back into
// it passes over no C++ destructor.
bool DecodeRaw(const unsigned char* data, unsigned long size, bool quantise, RawImage* out, char* message)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = FailDecoding;
    errors.base.emit_message = OnMessage;
    if (setjmp(errors.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        jpeg_destroy_decompress(&info);
        std::free(out->pixels);
        out->pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    if (quantise) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = QuantisedColourCount;
    }
    jpeg_start_decompress(&info);
    out->width = info.output_width;
    out->height = info.output_height;
    out->components = static_cast<unsigned>(info.output_components);
    const std::size_t rowBytes = std::size_t(out->width) * out->components;
    out->pixels = static_cast<unsigned char*>(std::malloc(rowBytes * out->height));
    if (!out->pixels) {
        std::snprintf(message, JMSG_LENGTH_MAX, "out of memory for a %ux%u picture", out->width, out->height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->pixels + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (quantise) {
        out->colours = info.actual_number_of_colors;
        for (int c = 0; c < 3; ++c)
            std::memcpy(out->colourMap[c], info.colormap[c], static_cast<std::size_t>(out->colours));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

DecodedJpeg DecodeJpegData(const unsigned char* data, std::size_t size, JpegColours colours)
{
    DecodedJpeg result;
    if (!data || size == 0) {
        result.Error = "the picture is empty";
        return result;
    }
    auto* raw = new RawImage;
    char message[JMSG_LENGTH_MAX] = {};
    const bool quantise = colours == JpegColours::Quantised;
    if (!DecodeRaw(data, static_cast<unsigned long>(size), quantise, raw, message)) {
        result.Error = message[0] ? message : "the picture cannot be decoded";
    } else {
        result.Width = raw->width;
        result.Height = raw->height;
        result.Pixels.assign(raw->pixels, raw->pixels + std::size_t(raw->width) * raw->components * raw->height);
        for (int i = 0; i < raw->colours; ++i)
            result.Palette.push_back({raw->colourMap[0][i], raw->colourMap[1][i], raw->colourMap[2][i]});
    }
    std::free(raw->pixels);
    delete raw;
    return result;
}

}  // namespace kvorn
