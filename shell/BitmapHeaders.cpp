// Reading and checking a Windows bitmap's headers: the file header, the info header of
// any version, the colour masks and the palette, and whether the pixel data they promise
// is all there.
#include "shell/BitmapFormat.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::int64_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12; // the oldest header: 16-bit sizes, 3-byte palette
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t V4HeaderSize = 108;
constexpr std::uint32_t V5HeaderSize = 124;
constexpr std::int64_t LongestHead = FileHeaderSize + V5HeaderSize + 12 + 256 * 4;

// Little-endian fields; callers make sure with Has that a field lies inside the bytes.
class Fields {
public:
    explicit Fields(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    bool Has(std::int64_t at, std::int64_t count) const
    {
        return at >= 0 && count >= 0 && at + count <= std::int64_t(bytes_.size());
    }
    std::uint32_t U16(std::int64_t at) const { return Byte(at) | Byte(at + 1) << 8; }
    std::uint32_t U32(std::int64_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::uint32_t Byte(std::int64_t at) const { return bytes_[std::size_t(at)]; }

private:
    const std::vector<unsigned char>& bytes_;
};

std::int64_t Rows(const BitmapHeader& header)
{
    return header.height < 0 ? -header.height : header.height;
}

bool TooLarge(const BitmapHeader& header)
{
    return header.width > MaxBitmapSide || Rows(header) > MaxBitmapSide || header.width * Rows(header) > MaxBitmapPixels;
}

// Reads the headers; returns what is wrong with them, or "" when a decoder can use them.
std::string ReadHeader(const Fields& bytes, std::int64_t fileSize, BitmapHeader& header)
{
    if (!bytes.Has(0, FileHeaderSize + 4) || bytes.Byte(0) != 'B' || bytes.Byte(1) != 'M')
        return "нет заголовка точечного рисунка";
    header.dataOffset = bytes.U32(10);
    header.headerSize = bytes.U32(14);
    const std::uint32_t size = header.headerSize;
    if (size != CoreHeaderSize && size != InfoHeaderSize && size != V4HeaderSize && size != V5HeaderSize)
        return "заголовок неизвестного размера " + std::to_string(size);
    if (!bytes.Has(FileHeaderSize, size))
        return "заголовок обрезан";
    std::uint32_t planes = 0;
    if (size == CoreHeaderSize) {
        header.width = bytes.U16(18);
        header.height = bytes.U16(20);
        planes = bytes.U16(22);
        header.bitsPerPixel = bytes.U16(24);
    } else {
        header.width = static_cast<std::int32_t>(bytes.U32(18));
        header.height = static_cast<std::int32_t>(bytes.U32(22));
        planes = bytes.U16(26);
        header.bitsPerPixel = bytes.U16(28);
        header.compression = bytes.U32(30);
    }
    const std::uint32_t bits = header.bitsPerPixel;
    if (planes != 1)
        return "число плоскостей не равно 1";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "неизвестная глубина цвета " + std::to_string(bits);
    const std::uint32_t c = header.compression;
    const bool known = c == Rgb || (c == Rle8 && bits == 8) || (c == Rle4 && bits == 4)
                       || (c == BitFields && (bits == 16 || bits == 32));
    if (!known || (size == CoreHeaderSize && bits == 16) || (size == CoreHeaderSize && bits == 32))
        return "неизвестный способ сжатия";
    const std::int64_t rows = Rows(header);
    if (header.width < 0)
        return "отрицательная ширина " + std::to_string(header.width);
    if (header.width == 0 || rows == 0)
        return "пустые размеры";
    if (header.height < 0 && (c == Rle8 || c == Rle4))
        return "сжатые строки не могут идти сверху вниз";

    // The palette follows the header (and, after the plain info header, the three colour
    // masks of a bit-field picture); pictures of more than 8 bits may carry one unused.
    std::int64_t used = size == CoreHeaderSize ? 0 : bytes.U32(46);
    if (bits <= 8) {
        if (used > (std::int64_t(1) << bits))
            return "палитра длиннее, чем позволяет глубина цвета";
        header.colours = used ? used : std::int64_t(1) << bits;
    } else {
        if (used > 256)
            return "слишком длинная палитра";
        header.colours = used;
    }
    std::int64_t paletteStart = FileHeaderSize + size;
    if (size == InfoHeaderSize && c == BitFields)
        paletteStart += 12;
    const int entry = size == CoreHeaderSize ? 3 : 4;
    const std::int64_t paletteEnd = paletteStart + header.colours * entry;
    if (paletteEnd > fileSize)
        return "палитра выходит за конец файла";
    if (header.dataOffset < paletteStart)
        return "начало точек внутри заголовков: смещение " + std::to_string(header.dataOffset)
               + ", заголовки до смещения " + std::to_string(paletteStart);
    if (header.dataOffset > fileSize)
        return "начало точек вне файла";
    std::fill(std::begin(header.palette), std::end(header.palette), 0xFF000000u);
    if (bits <= 8)
        for (std::int64_t i = 0; i < header.colours; ++i) {
            const std::int64_t at = paletteStart + i * entry;
            header.palette[i] = 0xFF000000u | bytes.Byte(at + 2) << 16 | bytes.Byte(at + 1) << 8 | bytes.Byte(at);
        }

    // Channel masks: given after the plain info header and inside the newer ones for bit
    // fields, fixed otherwise. Each must be one run of bits, and no two may share a bit.
    if (c == BitFields) {
        if (!bytes.Has(FileHeaderSize + InfoHeaderSize, 12))
            return "маски цветов обрезаны";
        for (int i = 0; i < 3; ++i)
            header.masks[i] = bytes.U32(FileHeaderSize + InfoHeaderSize + 4 * i);
        if (size >= V4HeaderSize)
            header.masks[3] = bytes.U32(FileHeaderSize + InfoHeaderSize + 12);
    } else if (bits == 16) {
        header.masks[0] = 0x7C00, header.masks[1] = 0x03E0, header.masks[2] = 0x001F;
    } else if (bits == 32) {
        header.masks[0] = 0xFF0000, header.masks[1] = 0xFF00, header.masks[2] = 0xFF;
    }
    std::uint32_t taken = 0;
    for (const std::uint32_t mask : header.masks) {
        if (bits == 16 && mask > 0xFFFF)
            return "маска цвета шире 16 бит";
        if (mask && ((mask >> __builtin_ctz(mask)) & ((mask >> __builtin_ctz(mask)) + 1)))
            return "маска цвета не сплошная";
        if (taken & mask)
            return "маски цветов перекрываются";
        taken |= mask;
    }
    return "";
}

// Reads `count` bytes from `offset` on, or as many as there are.
std::vector<unsigned char> ReadUpTo(BitmapBytes& bytes, std::int64_t offset, std::int64_t count)
{
    std::vector<unsigned char> read(std::size_t(std::clamp<std::int64_t>(bytes.Size() - offset, 0, count)));
    if (!bytes.Read(offset, std::int64_t(read.size()), read.data()))
        read.clear();
    return read;
}

} // namespace

bool BitmapMemory::Read(std::int64_t offset, std::int64_t count, void* to)
{
    if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset)
        return false;
    if (count > 0)
        std::memcpy(to, data_ + offset, std::size_t(count));
    return true;
}

BitmapHeader ReadBitmapHeader(BitmapBytes& bytes)
{
    const std::int64_t fileSize = bytes.Size();
    const std::vector<unsigned char> head = ReadUpTo(bytes, 0, LongestHead);
    BitmapHeader header;
    const std::string fault = ReadHeader(Fields(head), fileSize, header);
    if (!fault.empty())
        throw BitmapError{BitmapError::Damaged, fault};
    if (TooLarge(header))
        throw BitmapError{BitmapError::TooLarge,
                          std::to_string(header.width) + " × " + std::to_string(Rows(header))
                              + " точек, а программа рисует не больше " + std::to_string(MaxBitmapPixels)
                              + " точек (например, 8192 × 8192) и не больше " + std::to_string(MaxBitmapSide)
                              + " точек по стороне"};
    // Run-length codes are checked as they are decoded.
    if (header.compression == Rle8 || header.compression == Rle4)
        return header;
    const std::int64_t stride = (header.width * header.bitsPerPixel + 31) / 32 * 4;
    if (header.dataOffset + stride * Rows(header) > fileSize)
        throw BitmapError{BitmapError::Damaged, "точек в файле меньше, чем указано в заголовке"};
    return header;
}
