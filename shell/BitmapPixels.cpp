// Decoding a Windows bitmap's pixels: every depth, top-down and bottom-up rows, and colour
// channels of any width scaled to 8 bits.
#include "shell/BitmapFormat.h"

#include <QtEndian>

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// One colour channel of 16- and 32-bit pixels: where its bits lie, widened to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask), shift_(mask ? __builtin_ctz(mask) : 0), largest_(mask ? mask >> shift_ : 0)
    {
    }
    std::uint32_t Of(std::uint32_t pixel) const
    {
        if (largest_ == 0)
            return 0;
        const std::uint64_t value = (pixel & mask_) >> shift_;
        return std::uint32_t((value * 255 + largest_ / 2) / largest_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint64_t largest_;
};

// A new image of the given size. A large one lies in memory asked for in huge pages where
// the system gives them: a photo-sized picture would otherwise take tens of thousands of
// page faults, a good part of its decoding time.
QImage NewImage(int width, int height, QImage::Format format)
{
    constexpr std::int64_t HugePage = 2 << 20;
    const std::int64_t line = (std::int64_t(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    const std::int64_t bytes = line * height;
    if (bytes < 4 * HugePage)
        return QImage(width, height, format);
    const std::size_t length = std::size_t((bytes + HugePage - 1) / HugePage * HugePage);
    void* memory = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return QImage(width, height, format);
    madvise(memory, length, MADV_HUGEPAGE);
    const auto release = [](void* mapping) {
        const auto* region = static_cast<std::pair<void*, std::size_t>*>(mapping);
        munmap(region->first, region->second);
        delete region;
    };
    return QImage(static_cast<uchar*>(memory), width, height, qsizetype(line), format, release,
                  new std::pair<void*, std::size_t>(memory, length));
}

// Decodes the pixels of an uncompressed bitmap: palette pictures into indexed images, the
// others into 32-bit ones. Rows are read a few megabytes at a time.
QImage DecodeUncompressed(BitmapBytes& bytes, const BitmapHeader& header)
{
    const int width = int(header.width), rows = int(header.height < 0 ? -header.height : header.height);
    const std::uint32_t bits = header.bitsPerPixel;
    const std::int64_t stride = (header.width * bits + 31) / 32 * 4;
    const bool alpha = header.masks[3] != 0;
    QImage image = NewImage(width, rows,
                            bits <= 8 ? QImage::Format_Indexed8 : alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        throw BitmapError{BitmapError::NoMemory, std::to_string(width) + " × " + std::to_string(rows) + " точек"};
    if (bits <= 8)
        image.setColorTable(QList<QRgb>(header.palette, header.palette + (1 << bits)));
    const Channel red(header.masks[0]), green(header.masks[1]), blue(header.masks[2]), opacity(header.masks[3]);
    const bool plain32 = bits == 32 && !alpha && header.masks[0] == 0xFF0000 && header.masks[1] == 0xFF00
                         && header.masks[2] == 0xFF;

    const std::int64_t chunkRows = std::max<std::int64_t>(1, (std::int64_t(4) << 20) / stride);
    std::vector<uchar> chunk(std::size_t(std::min<std::int64_t>(chunkRows, rows) * stride));
    for (int first = 0; first < rows; first += int(chunkRows)) {
        const int count = int(std::min<std::int64_t>(chunkRows, rows - first));
        if (!bytes.Read(header.dataOffset + first * stride, count * stride, chunk.data()))
            throw BitmapError{BitmapError::Damaged, "точек в файле меньше, чем указано в заголовке"};
        for (int r = 0; r < count; ++r) {
            const uchar* in = chunk.data() + r * stride;
            const int y = header.height < 0 ? first + r : rows - 1 - (first + r);
            uchar* line = image.scanLine(y);
            auto* out = reinterpret_cast<QRgb*>(line);
            switch (bits) {
            case 1:
                for (int x = 0; x < width; ++x)
                    line[x] = in[x >> 3] >> (7 - (x & 7)) & 1;
                break;
            case 4:
                for (int x = 0; x < width; ++x)
                    line[x] = in[x >> 1] >> (x & 1 ? 0 : 4) & 0xF;
                break;
            case 8:
                std::memcpy(line, in, std::size_t(width));
                break;
            case 24:
                for (int x = 0; x < width; ++x, in += 3)
                    out[x] = 0xFF000000u | std::uint32_t(in[2]) << 16 | std::uint32_t(in[1]) << 8 | in[0];
                break;
            case 16:
                for (int x = 0; x < width; ++x, in += 2) {
                    const std::uint32_t pixel = in[0] | std::uint32_t(in[1]) << 8;
                    out[x] = qRgb(int(red.Of(pixel)), int(green.Of(pixel)), int(blue.Of(pixel)));
                }
                break;
            default: // 32
                for (int x = 0; x < width; ++x, in += 4) {
                    std::uint32_t pixel;
                    std::memcpy(&pixel, in, 4);
                    pixel = qFromLittleEndian(pixel);
                    out[x] = plain32 ? 0xFF000000u | (pixel & 0xFFFFFF)
                                     : qRgba(int(red.Of(pixel)), int(green.Of(pixel)), int(blue.Of(pixel)),
                                             alpha ? int(opacity.Of(pixel)) : 255);
                }
            }
        }
    }
    return image;
}

} // namespace

QImage DecodeBitmap(BitmapBytes& bytes, const BitmapHeader& header)
{
    return DecodeUncompressed(bytes, header);
}
