#include "tests/picture/JpegMaker.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace {

// The compressor only sees made-up, valid input; an error here is a bug in the test.
void on_compress_error(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::fprintf(stderr, "test JPEG maker: %s\n", text);
    std::abort();
}

} // namespace

std::vector<uint8_t> make_jpeg(const JpegRecipe& recipe, const PixelColour& colour)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = on_compress_error;
    jpeg_create_compress(&cinfo);

    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(recipe.Width);
    cinfo.image_height = static_cast<JDIMENSION>(recipe.Height);
    cinfo.input_components = recipe.Grayscale ? 1 : recipe.Cmyk ? 4 : 3;
    cinfo.in_color_space = recipe.Grayscale ? JCS_GRAYSCALE : recipe.Cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, recipe.Quality, TRUE);
    if (recipe.Progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);

    const int components = cinfo.input_components;
    std::vector<JSAMPLE> row(static_cast<size_t>(recipe.Width * components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < recipe.Width; ++x) {
            const uint32_t c = colour(x, y);
            JSAMPLE* p = &row[static_cast<size_t>(x * components)];
            if (components == 1) {
                p[0] = static_cast<JSAMPLE>((c >> 8) & 0xFF);
            } else {
                p[0] = static_cast<JSAMPLE>((c >> 16) & 0xFF);
                p[1] = static_cast<JSAMPLE>((c >> 8) & 0xFF);
                p[2] = static_cast<JSAMPLE>(c & 0xFF);
                if (components == 4)
                    p[3] = 0xFF;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

uint32_t quarters(int x, int y, int width, int height)
{
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    if (!bottom)
        return right ? 0x00FF00 : 0xFF0000;
    return right ? 0xFFFFFF : 0x0000FF;
}

std::vector<uint8_t> make_quarters_jpeg(JpegRecipe recipe)
{
    return make_jpeg(recipe, [&](int x, int y) { return quarters(x, y, recipe.Width, recipe.Height); });
}
