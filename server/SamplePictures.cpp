#include "server/SamplePictures.h"

#include "server/ServerErrors.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

struct EncoderError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void leave_encoder(j_common_ptr info)
{
    auto* error = reinterpret_cast<EncoderError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

// Releases the compressor and the memory buffer jpeg_mem_dest allocates.
struct EncoderState {
    jpeg_compress_struct info{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool created = false;
    ~EncoderState()
    {
        if (created)
            jpeg_destroy_compress(&info);
        std::free(buffer);
    }
};

unsigned char channel(std::uint32_t seed, int shift) { return static_cast<unsigned char>(64 + ((seed >> shift) & 0x7F)); }

// The picture's pixels, computed before libjpeg is entered so that no C++ object lives in
// the frames a longjmp may cross.
std::vector<unsigned char> draw_pixels(const PicturePlan& plan, int components)
{
    std::vector<unsigned char> pixels(static_cast<std::size_t>(plan.width) * static_cast<std::size_t>(plan.height) *
                                      static_cast<std::size_t>(components));
    const unsigned char base[3] = {channel(plan.seed, 0), channel(plan.seed, 8), channel(plan.seed, 16)};
    const long cx = plan.width / 2, cy = plan.height / 2;
    const long radius = (plan.width < plan.height ? plan.width : plan.height) / 3;
    std::size_t at = 0;
    for (int y = 0; y < plan.height; ++y) {
        for (int x = 0; x < plan.width; ++x) {
            const long dx = x - cx, dy = y - cy;
            const bool in_disc = dx * dx + dy * dy <= radius * radius;
            const bool in_band = ((x + y) / 12) % 4 == 0;
            unsigned char rgb[3];
            for (int c = 0; c < 3; ++c) {
                int value = base[c] + (x * 60) / plan.width + (y * 40) / plan.height;
                if (in_disc)
                    value = 255 - base[(c + 1) % 3];
                else if (in_band)
                    value += 30;
                rgb[c] = static_cast<unsigned char>(value > 255 ? 255 : value);
            }
            if (components == 1) {
                pixels[at++] = static_cast<unsigned char>((rgb[0] * 30 + rgb[1] * 59 + rgb[2] * 11) / 100);
            } else {
                pixels[at++] = rgb[0];
                pixels[at++] = rgb[1];
                pixels[at++] = rgb[2];
            }
        }
    }
    return pixels;
}

// Returns false with error->message set when libjpeg gives up.
bool run_encoder(EncoderState& state, EncoderError& error, const PicturePlan& plan, int components,
                 std::vector<unsigned char>& pixels)
{
    state.info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = leave_encoder;
    if (setjmp(error.jump))
        return false;
    jpeg_create_compress(&state.info);
    state.created = true;
    jpeg_mem_dest(&state.info, &state.buffer, &state.size);
    state.info.image_width = static_cast<JDIMENSION>(plan.width);
    state.info.image_height = static_cast<JDIMENSION>(plan.height);
    state.info.input_components = components;
    state.info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&state.info);
    jpeg_set_quality(&state.info, sample_pictures::kQuality, TRUE);
    if (plan.scan == PictureScan::Progressive)
        jpeg_simple_progression(&state.info);
    jpeg_start_compress(&state.info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(plan.width) * static_cast<std::size_t>(components);
    while (state.info.next_scanline < state.info.image_height) {
        JSAMPROW row = pixels.data() + state.info.next_scanline * stride;
        jpeg_write_scanlines(&state.info, &row, 1);
    }
    jpeg_finish_compress(&state.info);
    return true;
}

} // namespace

std::string encode_sample_picture(const PicturePlan& plan)
{
    if (plan.width < 1 || plan.height < 1 || plan.width > sample_pictures::kMaxSide ||
        plan.height > sample_pictures::kMaxSide)
        throw EPictureEncodeError::Failed(plan.width, plan.height, "size out of range");
    const int components = plan.colour == PictureColour::Grayscale ? 1 : 3;
    std::vector<unsigned char> pixels = draw_pixels(plan, components);
    EncoderState state;
    EncoderError error{};
    if (!run_encoder(state, error, plan, components, pixels))
        throw EPictureEncodeError::Failed(plan.width, plan.height, error.message);
    return std::string(reinterpret_cast<const char*>(state.buffer), state.size);
}
