// Decoding through TJPEGImage against a bare library loop over the same bytes,
// for a product picture (310 x 310) and a large one (1000 x 1000).

#include "picture/picture.h"
#include "tests/picture/JpegMaker.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// Smooth shading with some texture, so the coder has photo-like work to do.
const std::vector<uint8_t>& picture_of(int side)
{
    static std::vector<uint8_t> small, large;
    auto& bytes = side == 310 ? small : large;
    if (bytes.empty()) {
        bytes = make_jpeg({side, side, false, false, 90}, [side](int x, int y) {
            const uint32_t noise = (static_cast<uint32_t>(x) * 2654435761u ^ static_cast<uint32_t>(y) * 40503u) >> 28;
            const uint32_t r = static_cast<uint32_t>(x * 255 / side) ^ noise;
            const uint32_t g = static_cast<uint32_t>(y * 255 / side);
            const uint32_t b = static_cast<uint32_t>((x + y) * 127 / side) + noise;
            return ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
        });
    }
    return bytes;
}

void on_bare_error(j_common_ptr)
{
    std::fputs("bare decode failed\n", stderr);
    std::abort();
}

// What a program would write with the library alone: decode to RGB rows.
void BM_BareLibraryDecode(benchmark::State& state)
{
    const auto& bytes = picture_of(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr err{};
        cinfo.err = jpeg_std_error(&err);
        err.error_exit = on_bare_error;
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
        jpeg_read_header(&cinfo, TRUE);
        cinfo.do_block_smoothing = TRUE;
        jpeg_start_decompress(&cinfo);
        const size_t stride = size_t{cinfo.output_width} * 3;
        std::vector<uint8_t> pixels(stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
    }
}

// The picture box's way: a copy sharing the loaded bytes decodes on first need.
void BM_TJPEGImageDecode(benchmark::State& state)
{
    TJPEGImage loaded(TJPEGPixelFormat::jf24Bit);
    loaded.LoadFromBytes(picture_of(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto copy = loaded.Clone();
        benchmark::DoNotOptimize(copy->Bitmap().Pixels().data());
    }
}

} // namespace

BENCHMARK(BM_BareLibraryDecode)->Arg(310)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TJPEGImageDecode)->Arg(310)->Arg(1000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
