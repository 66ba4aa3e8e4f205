// Fuzzes the bitmap format: arbitrary bytes read as a bitmap's headers and pixels. Either
// the headers are refused with a reason, or the picture decodes within the size limits at
// the size the headers declare, or its decoding is refused with a reason.
#include "shell/BitmapFormat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BitmapMemory bytes(data, std::int64_t(size));
    BitmapHeader header;
    try {
        header = ReadBitmapHeader(bytes);
    } catch (const BitmapError& error) {
        if (error.reason.empty())
            std::abort();
        return 0;
    }
    if (header.width <= 0 || header.width > MaxBitmapSide || header.height == 0 || header.height > MaxBitmapSide
        || -header.height > MaxBitmapSide)
        std::abort();
    try {
        const QImage image = DecodeBitmap(bytes, header);
        if (image.width() != header.width || image.height() != std::abs(header.height))
            std::abort();
    } catch (const BitmapError& error) {
        if (error.reason.empty())
            std::abort();
    }
    return 0;
}
