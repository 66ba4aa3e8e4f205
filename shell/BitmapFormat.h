// The Windows bitmap format: a bitmap's headers read and checked, and its pixels decoded,
// from bytes that the caller hands over. Nothing here opens a file, keeps a picture or
// knows a file's name: the caller says which file a failure is about.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>

// The largest picture a bitmap may declare, so that a forged header cannot make the
// program allocate gigabytes.
constexpr std::int64_t MaxBitmapSide = 32768;
constexpr std::int64_t MaxBitmapPixels = std::int64_t(1) << 26;

// Where a bitmap's bytes come from: a file read at offsets, or bytes in memory.
class BitmapBytes {
public:
    virtual ~BitmapBytes() = default;
    // How many bytes there are.
    virtual std::int64_t Size() const = 0;
    // Copies `count` bytes from `offset` into `to`; false when they are not all there.
    virtual bool Read(std::int64_t offset, std::int64_t count, void* to) = 0;
};

// Bytes held in memory.
class BitmapMemory : public BitmapBytes {
public:
    BitmapMemory(const void* data, std::int64_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}
    std::int64_t Size() const override { return size_; }
    bool Read(std::int64_t offset, std::int64_t count, void* to) override;

private:
    const unsigned char* data_;
    std::int64_t size_;
};

// Why a bitmap cannot be shown: damaged (the reason says what is wrong), larger than the
// program draws, or larger than the memory it could get. The reason is a Russian phrase
// the caller puts after the file's name.
struct BitmapError {
    enum Kind { Damaged, TooLarge, NoMemory } kind;
    std::string reason;
};

// How a bitmap's pixels are stored.
enum BitmapCompression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// A bitmap's headers, read and checked.
struct BitmapHeader {
    std::int64_t dataOffset = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative when the rows are stored top-down
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = Rgb;
    std::int64_t colours = 0; // palette entries
    std::uint32_t masks[4] = {}; // red, green, blue, alpha of 16- and 32-bit pixels
    std::uint32_t palette[256] = {}; // as 0xAARRGGBB, opaque; indices past `colours` black
};

// Reads a bitmap's headers and checks them against the bytes there are: the palette, the
// pixel data's place, and the length of uncompressed pixel data (run-length codes are
// checked as DecodeBitmap decodes them). Raises BitmapError.
BitmapHeader ReadBitmapHeader(BitmapBytes& bytes);

// Decodes the pixels of a bitmap whose headers ReadBitmapHeader gave: palette pictures
// into indexed images, the others into 32-bit ones. Of an uncompressed bitmap, only the
// top-left `columns` × `rows` points (at least one of each, at most the picture) are
// decoded and only their bytes read; run-length codes are decoded whole. Only pixel data is
// read, never what lies between the headers and it. Raises BitmapError, for run-length
// codes that end before the picture does too.
QImage DecodeBitmap(BitmapBytes& bytes, const BitmapHeader& header, int columns = MaxBitmapSide,
                    int rows = MaxBitmapSide);

// Whether DecodeBitmap can decode a part of the bitmap alone.
inline bool DecodesInParts(const BitmapHeader& header)
{
    return header.compression == Rgb || header.compression == BitFields;
}
