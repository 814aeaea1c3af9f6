#include "picture/JpegDecoder.h"

#include "picture/PictureErrors.h"
#include "picture/TJPEGImage.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

// Callers rely on the message codes of the classic library release; the
// installed one numbers them the same way.
static_assert(JERR_IMAGE_TOO_BIG == 41);
static_assert(JERR_INPUT_EMPTY == 42);
static_assert(JERR_NO_SOI == 53);
static_assert(JERR_CONVERSION_NOTIMPL == 27);

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf escape;
};

// Hands the held bytes to the library in one piece (its fast Huffman path
// wants several kilobytes in hand), and an end-of-image marker once they run
// out, so that cut-short data still decodes.
struct SourceManager {
    jpeg_source_mgr pub;
    const uint8_t* data;
    size_t size;
    size_t offset;
};

const JOCTET end_of_image[2] = {0xFF, JPEG_EOI};

void on_error_exit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1);
}

// Warnings and traces are not shown anywhere.
void on_output_message(j_common_ptr) {}

void on_init_source(j_decompress_ptr) {}

boolean on_fill_input_buffer(j_decompress_ptr cinfo)
{
    auto* src = reinterpret_cast<SourceManager*>(cinfo->src);
    if (src->offset >= src->size) {
        if (src->size == 0)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->pub.next_input_byte = end_of_image;
        src->pub.bytes_in_buffer = sizeof end_of_image;
        return TRUE;
    }
    src->pub.next_input_byte = src->data + src->offset;
    src->pub.bytes_in_buffer = src->size - src->offset;
    src->offset = src->size;
    return TRUE;
}

void on_skip_input_data(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    auto skip = static_cast<size_t>(count);
    while (skip > cinfo->src->bytes_in_buffer) {
        skip -= cinfo->src->bytes_in_buffer;
        on_fill_input_buffer(cinfo);
    }
    cinfo->src->next_input_byte += skip;
    cinfo->src->bytes_in_buffer -= skip;
}

void on_term_source(j_decompress_ptr) {}

// One decompressor over one byte span; destroyed however the work ends.
struct Session {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    SourceManager src{};

    explicit Session(std::span<const uint8_t> data)
    {
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = on_error_exit;
        err.pub.output_message = on_output_message;
        src.pub.init_source = on_init_source;
        src.pub.fill_input_buffer = on_fill_input_buffer;
        src.pub.skip_input_data = on_skip_input_data;
        src.pub.resync_to_restart = jpeg_resync_to_restart;
        src.pub.term_source = on_term_source;
        src.data = data.data();
        src.size = data.size();
        src.offset = 0;
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { jpeg_destroy_decompress(&cinfo); }

    int Code() const { return err.pub.msg_code; }
};

// Creating the decompressor can fail too, so it happens under the caller's setjmp.
void start_session(Session& s)
{
    jpeg_create_decompress(&s.cinfo);
    s.cinfo.mem->max_memory_to_use = TJPEGImage::kMaxLibraryMemory;
    s.cinfo.src = &s.src.pub;
}

// The setjmp frames below hold only plain values: a longjmp out of the
// library skips no destructor. They return false when the library failed.

bool read_header_guarded(Session& s, JpegHeader* header)
{
    if (setjmp(s.err.escape) != 0)
        return false;
    start_session(s);
    jpeg_read_header(&s.cinfo, TRUE);
    header->Width = static_cast<int>(s.cinfo.image_width);
    header->Height = static_cast<int>(s.cinfo.image_height);
    header->Grayscale = s.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    header->Progressive = jpeg_has_multiple_scans(&s.cinfo) != 0;
    return true;
}

void attach_palette(const jpeg_decompress_struct& cinfo, TBitmap& bitmap)
{
    std::vector<uint32_t> palette(static_cast<size_t>(cinfo.actual_number_of_colors));
    for (size_t i = 0; i < palette.size(); ++i) {
        uint32_t r = cinfo.colormap[0][i];
        uint32_t g = r;
        uint32_t b = r;
        if (cinfo.out_color_components >= 3) {
            g = cinfo.colormap[1][i];
            b = cinfo.colormap[2][i];
        }
        palette[i] = (r << 16) | (g << 8) | b;
    }
    bitmap.SetPalette(std::move(palette));
}

// Four-component files carry Adobe's inverted CMYK; the screen wants RGB.
void cmyk_row_to_rgb(const JSAMPLE* cmyk, uint8_t* rgb, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = cmyk[3];
        rgb[0] = static_cast<uint8_t>(cmyk[0] * k / 255);
        rgb[1] = static_cast<uint8_t>(cmyk[1] * k / 255);
        rgb[2] = static_cast<uint8_t>(cmyk[2] * k / 255);
    }
}

bool decode_guarded(Session& s, JpegOutput output, TBitmap* bitmap)
{
    if (setjmp(s.err.escape) != 0)
        return false;
    start_session(s);
    jpeg_read_header(&s.cinfo, TRUE);

    // Full size, block smoothing, and otherwise the library's quality
    // defaults: accurate integer transform, smooth upsampling, two-pass
    // quantization with error diffusion.
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = 1;
    s.cinfo.do_block_smoothing = TRUE;
    s.cinfo.buffered_image = FALSE;
    const bool cmyk = s.cinfo.out_color_space == JCS_CMYK;
    if (s.cinfo.out_color_space != JCS_RGB && s.cinfo.out_color_space != JCS_GRAYSCALE && !cmyk)
        ERREXIT(&s.cinfo, JERR_CONVERSION_NOTIMPL);
    if (!cmyk && (output == JpegOutput::Palette8 || s.cinfo.out_color_space == JCS_GRAYSCALE)) {
        s.cinfo.quantize_colors = TRUE;
        s.cinfo.desired_number_of_colors = TJPEGImage::kPaletteColours;
    }
    jpeg_calc_output_dimensions(&s.cinfo);
    const int64_t pixel_bytes = int64_t{s.cinfo.output_width} * s.cinfo.output_height
        * (s.cinfo.quantize_colors ? 1 : 3);
    if (pixel_bytes > TJPEGImage::kMaxDecodedBytes)
        ERREXIT1(&s.cinfo, JERR_IMAGE_TOO_BIG, JPEG_MAX_DIMENSION);

    jpeg_start_decompress(&s.cinfo);
    bitmap->SetSize(static_cast<int>(s.cinfo.output_width), static_cast<int>(s.cinfo.output_height), s.cinfo.quantize_colors ? 8 : 24);
    if (s.cinfo.quantize_colors)
        attach_palette(s.cinfo, *bitmap);

    JSAMPARRAY cmyk_row = nullptr;
    if (cmyk)
        cmyk_row = (*s.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.cinfo), JPOOL_IMAGE,
                                                s.cinfo.output_width * 4, 1);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        uint8_t* line = bitmap->ScanLine(static_cast<int>(s.cinfo.output_scanline));
        JSAMPROW row = cmyk ? cmyk_row[0] : line;
        // Our source never suspends; no row means the library gave up, and
        // finishing then reports why.
        if (jpeg_read_scanlines(&s.cinfo, &row, 1) != 1)
            break;
        if (cmyk)
            cmyk_row_to_rgb(cmyk_row[0], line, s.cinfo.output_width);
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

} // namespace

JpegHeader read_jpeg_header(std::span<const uint8_t> data)
{
    Session session(data);
    JpegHeader header;
    if (!read_header_guarded(session, &header))
        throw EJPEG(session.Code());
    return header;
}

void decode_jpeg(std::span<const uint8_t> data, JpegOutput output, TBitmap& bitmap)
{
    Session session(data);
    if (!decode_guarded(session, output, &bitmap))
        throw EJPEG(session.Code());
}
