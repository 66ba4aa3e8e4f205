// Decoding a Windows bitmap's pixels: every depth, top-down and bottom-up rows, run-length
// codes, and colour channels of any width scaled to 8 bits.
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

// Decodes the top-left `columns` × `rows` points of an uncompressed bitmap: palette
// pictures into indexed images, the others into 32-bit ones. A row's points sit at a known
// place, so only the rows wanted are read, a few megabytes at a time, and of a wide
// picture only the start of each.
QImage DecodeUncompressed(BitmapBytes& bytes, const BitmapHeader& header, int columns, int rows)
{
    const std::int64_t height = header.height < 0 ? -header.height : header.height;
    const int width = columns;
    const std::uint32_t bits = header.bitsPerPixel;
    const std::int64_t stride = (header.width * bits + 31) / 32 * 4;
    const std::int64_t used = (std::int64_t(columns) * bits + 7) / 8; // the bytes of a row wanted
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

    // The wanted rows are one run of stored rows: the first ones of a top-down picture,
    // the last ones of a bottom-up one.
    const std::int64_t firstStored = header.height < 0 ? 0 : height - rows;
    // Of rows much wider than the part, only the part's bytes are read, a row at a time.
    const bool narrow = used * 2 < stride;
    const std::int64_t kept = narrow ? used : stride; // bytes of a row in the chunk
    const std::int64_t chunkRows = std::max<std::int64_t>(1, (std::int64_t(4) << 20) / kept);
    std::vector<uchar> chunk(std::size_t(std::min<std::int64_t>(chunkRows, rows) * kept));
    for (int first = 0; first < rows; first += int(chunkRows)) {
        const int count = int(std::min<std::int64_t>(chunkRows, rows - first));
        const std::int64_t at = header.dataOffset + (firstStored + first) * stride;
        bool read = true;
        if (narrow)
            for (int r = 0; r < count && read; ++r)
                read = bytes.Read(at + r * stride, used, chunk.data() + r * kept);
        else
            read = bytes.Read(at, count * stride, chunk.data());
        if (!read)
            throw BitmapError{BitmapError::Damaged, "точек в файле меньше, чем указано в заголовке"};
        for (int r = 0; r < count; ++r) {
            const uchar* in = chunk.data() + r * kept;
            const std::int64_t stored = firstStored + first + r;
            const int y = int(header.height < 0 ? stored : height - 1 - stored);
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

// Reads run-length codes a byte at a time, from the pixel data's start on, fetching a
// chunk at a time: a file read whole before its codes could be gigabytes of nothing.
class Codes {
public:
    Codes(BitmapBytes& bytes, std::int64_t at) : bytes_(bytes), at_(at) {}

    // The next byte of the codes; raises BitmapError when they end before the picture.
    std::uint32_t Next()
    {
        if (next_ == buffer_.size()) {
            const std::int64_t count = std::min<std::int64_t>(64 << 10, bytes_.Size() - at_);
            buffer_.resize(std::size_t(std::max<std::int64_t>(count, 0)));
            if (count <= 0 || !bytes_.Read(at_, count, buffer_.data()))
                throw BitmapError{BitmapError::Damaged, "сжатые точки оборваны"};
            at_ += count;
            next_ = 0;
        }
        return buffer_[next_++];
    }

private:
    BitmapBytes& bytes_;
    std::int64_t at_;
    std::vector<unsigned char> buffer_;
    std::size_t next_ = 0;
};

// Decodes run-length encoded pixels (8 or 4 bits, rows from the bottom up). Points that
// the codes skip keep the palette's first colour; points past a row's end are dropped.
// Codes that end before the last row or the end mark leave the picture cut off, and it is
// refused rather than shown with blank rows.
QImage DecodeRuns(BitmapBytes& bytes, const BitmapHeader& header)
{
    const std::int64_t width = header.width, rows = header.height;
    QImage image = NewImage(int(width), int(rows), QImage::Format_Indexed8);
    if (image.isNull())
        throw BitmapError{BitmapError::NoMemory, std::to_string(width) + " × " + std::to_string(rows) + " точек"};
    const bool fourBit = header.compression == Rle4;
    image.setColorTable(QList<QRgb>(header.palette, header.palette + (fourBit ? 16 : 256)));
    image.fill(0);
    Codes codes(bytes, header.dataOffset);
    std::int64_t x = 0, row = 0; // row 0 is the picture's bottom row
    uchar* line = image.scanLine(int(rows - 1));
    const auto put = [&](std::uint32_t index) {
        if (x < width)
            line[x] = uchar(index);
        ++x;
    };
    while (row < rows) {
        const std::uint32_t count = codes.Next(), code = codes.Next();
        if (count > 0 && !fourBit) {
            // A run of one index.
            if (x < width)
                std::memset(line + x, int(code), std::size_t(std::min<std::int64_t>(count, width - x)));
            x += count;
        } else if (count > 0) {
            // Two indices taking turns.
            for (std::uint32_t i = 0; i < count; ++i)
                put(i & 1 ? code & 0xF : code >> 4);
        } else if (code == 1) {
            break;
        } else if (code == 0 || code == 2) {
            // The end of a row, or a move right and up.
            const std::uint32_t right = code == 2 ? codes.Next() : 0, up = code == 2 ? codes.Next() : 1;
            x = code == 2 ? x + right : 0;
            row += up;
            if (row < rows)
                line = image.scanLine(int(rows - 1 - row));
        } else {
            // Literal indices, padded to a whole number of 16-bit words.
            std::uint32_t pair = 0;
            for (std::uint32_t i = 0; i < code; ++i) {
                if (!fourBit || i % 2 == 0)
                    pair = codes.Next();
                put(!fourBit ? pair : i % 2 ? pair & 0xF : pair >> 4);
            }
            if ((fourBit ? (code + 1) / 2 : code) % 2)
                codes.Next();
        }
    }
    return image;
}

} // namespace

QImage DecodeBitmap(BitmapBytes& bytes, const BitmapHeader& header, int columns, int rows)
{
    if (header.compression == Rle8 || header.compression == Rle4)
        return DecodeRuns(bytes, header);
    const std::int64_t height = header.height < 0 ? -header.height : header.height;
    return DecodeUncompressed(bytes, header, int(std::clamp<std::int64_t>(columns, 1, header.width)),
                              int(std::clamp<std::int64_t>(rows, 1, height)));
}
