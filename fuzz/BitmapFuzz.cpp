// Fuzzes the bitmap format: arbitrary bytes read as a bitmap's headers and pixels. Either
// the headers are refused with a reason, or the picture decodes within the size limits at
// the size the headers declare, and any top-left part of it to the same points, or its
// decoding is refused with a reason.
#include "shell/BitmapFormat.h"

#include <algorithm>
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
        // A top-left part, sized by the input's last bytes, holds the whole picture's points.
        const int columns = 1 + data[size - 1] % 64, rows = 1 + data[size - 2] % 64;
        const QImage part = DecodeBitmap(bytes, header, columns, rows);
        for (int y = 0; y < std::min(rows, part.height()); ++y)
            for (int x = 0; x < std::min(columns, part.width()); ++x)
                if (part.pixel(x, y) != image.pixel(x, y))
                    std::abort();
    } catch (const BitmapError& error) {
        if (error.reason.empty())
            std::abort();
    }
    return 0;
}
