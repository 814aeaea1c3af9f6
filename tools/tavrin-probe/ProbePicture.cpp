#include "tools/tavrin-probe/Probe.h"

#include "base/IntegerText.h"
#include "picture/picture.h"

#include <cinttypes>
#include <cstdio>

namespace {

uint64_t fnv1a64(const TBitmap& bitmap)
{
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.BytesPerLine(); ++x) {
            hash ^= row[x];
            hash *= 0x100000001b3ULL;
        }
    }
    return hash;
}

} // namespace

// jpeg FILE: loads and decodes the file as a picture box would.
int ProbeJpeg(int argc, char** argv)
{
    if (argc != 1) {
        std::fputs("usage: tavrin-probe jpeg FILE\n", stderr);
        return 2;
    }
    try {
        TPicture picture;
        picture.LoadFromFile(argv[0]);
        auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic());
        if (!jpeg) {
            std::puts("not a JPEG picture");
            return 1;
        }
        const TBitmap& bitmap = jpeg->Bitmap();
        std::printf("%d %d %d %d %d %016" PRIx64 "\n", jpeg->Width(), jpeg->Height(), jpeg->Grayscale() ? 1 : 0,
                    jpeg->ProgressiveEncoding() ? 1 : 0, bitmap.BitsPerPixel(), fnv1a64(bitmap));
        return 0;
    } catch (const Exception& error) {
        std::printf("%s\n", error.what());
        return 1;
    }
}

// fit W H CW CH: the rectangle a centred, proportional, unstretched box draws into.
int ProbeFit(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: tavrin-probe fit W H CW CH\n", stderr);
        return 2;
    }
    try {
        const TRect rect = DestinationRect(StrToInt(argv[0]), StrToInt(argv[1]), StrToInt(argv[2]),
                                           StrToInt(argv[3]), false, true, true);
        std::printf("%d %d %d %d\n", rect.Left, rect.Top, rect.Right, rect.Bottom);
        return 0;
    } catch (const Exception& error) {
        std::printf("%s\n", error.what());
        return 1;
    }
}
