// Picture files read with Qt's image reader: the file is opened and checked here first, so
// that every failure names the file in Russian and no forged bitmap header reaches the
// decoder, and decoded pictures are kept while their file stays unchanged.
#include "shell/PictureFiles.h"

#include "shell/Files.h"
#include "shell/SysUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <map>
#include <tuple>
#include <vector>

namespace {

// ----- Windows bitmap headers -----

enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

constexpr std::int64_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;  // the oldest header: 16-bit sizes, 3-byte palette
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t V4HeaderSize = 108;
constexpr std::uint32_t V5HeaderSize = 124;
constexpr std::int64_t LongestHead = FileHeaderSize + V5HeaderSize + 12 + 256 * 4;

// Little-endian fields; callers make sure with Has that a field lies inside the bytes.
class Bytes {
public:
    explicit Bytes(const QByteArray& bytes) : bytes_(bytes) {}
    bool Has(std::int64_t at, std::int64_t count) const { return at >= 0 && count >= 0 && at + count <= bytes_.size(); }
    std::uint32_t U16(std::int64_t at) const { return Byte(at) | Byte(at + 1) << 8; }
    std::uint32_t U32(std::int64_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::uint32_t Byte(std::int64_t at) const { return static_cast<unsigned char>(bytes_[qsizetype(at)]); }

private:
    const QByteArray& bytes_;
};

struct BitmapHeader {
    std::int64_t dataOffset = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative when the rows are stored top-down
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = Rgb;
    std::int64_t colours = 0; // palette entries
    std::int64_t paletteStart = 0;
    std::int64_t paletteEnd = 0;
    std::uint32_t masks[4] = {}; // red, green, blue, alpha of 16- and 32-bit pixels
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
std::string ReadHeader(const Bytes& bytes, std::int64_t fileSize, BitmapHeader& header)
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
    const std::int64_t rows = header.height < 0 ? -header.height : header.height;
    if (header.width <= 0 || rows == 0)
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
    header.paletteStart = paletteStart;
    header.paletteEnd = paletteStart + header.colours * (size == CoreHeaderSize ? 3 : 4);
    if (header.paletteEnd > fileSize)
        return "палитра выходит за конец файла";
    if (header.dataOffset < paletteStart || header.dataOffset > fileSize)
        return "начало точек вне файла";

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

// Walks run-length encoded rows and checks that the codes are complete up to the end of
// the picture: a cut-off file would otherwise be decoded with its missing rows blank.
std::string CheckRuns(const Bytes& bytes, std::int64_t end, const BitmapHeader& header)
{
    const bool fourBit = header.compression == Rle4;
    std::int64_t at = header.dataOffset, row = 0;
    const std::int64_t rows = header.height;
    while (row < rows) {
        if (at + 2 > end)
            return "сжатые точки оборваны";
        const std::uint32_t count = bytes.Byte(at), code = bytes.Byte(at + 1);
        at += 2;
        if (count > 0)
            continue; // a run of one colour (or two alternating, in four bits)
        if (code == 0) {
            ++row;
        } else if (code == 1) {
            return "";
        } else if (code == 2) {
            if (at + 2 > end)
                return "сжатые точки оборваны";
            row += bytes.Byte(at + 1);
            at += 2;
        } else {
            // Literal pixels, padded to a whole number of 16-bit words.
            std::int64_t length = fourBit ? (code + 1) / 2 : code;
            length += length & 1;
            if (at + length > end)
                return "сжатые точки оборваны";
            at += length;
        }
    }
    return "";
}

// Returns what is wrong with a bitmap file of `fileSize` bytes whose first bytes are
// `head`, or "" when a decoder can read the whole picture from it; fills `header`. A
// picture too large to draw is looked at no further: the caller refuses it by its size.
std::string BitmapFault(const QByteArray& head, std::int64_t fileSize, BitmapHeader& header)
{
    const Bytes bytes(head);
    std::string fault = ReadHeader(bytes, fileSize, header);
    if (!fault.empty())
        return fault;
    if (TooLarge(header))
        return "";
    const std::int64_t rows = Rows(header);
    if (header.compression == Rle8 || header.compression == Rle4)
        return CheckRuns(bytes, std::min<std::int64_t>(head.size(), fileSize), header);
    const std::int64_t stride = (header.width * header.bitsPerPixel + 31) / 32 * 4;
    if (header.dataOffset + stride * rows > fileSize)
        return "точек в файле меньше, чем указано в заголовке";
    return "";
}

// How many bytes of a bitmap file the checks need to see: the headers and palette, and
// for run-length codes all of them.
std::int64_t BitmapHeadSize(const QByteArray& firstBytes, std::int64_t fileSize)
{
    BitmapHeader header;
    if (!ReadHeader(Bytes(firstBytes), fileSize, header).empty() || TooLarge(header))
        return std::min(fileSize, LongestHead);
    if (header.compression != Rle8 && header.compression != Rle4)
        return std::min(fileSize, LongestHead);
    // Run-length codes are walked to their end: at most two bytes a pixel and a row end
    // each row, plus the end mark.
    const std::int64_t longestRuns = 2 * header.width * header.height + 4 * header.height + 2;
    return std::min(fileSize, header.dataOffset + longestRuns);
}

// ----- The cache of decoded pictures -----

// A file is the same file with the same content as long as its place, size, modification
// time and status change time stay as they were. The change time cannot be set back by a
// program: a file rewritten in place with its old size and time kept (cp -p, tar, rsync -t)
// still gets a new one.
struct FileKey {
    std::string path;
    std::string format;
    std::uint64_t device, inode;
    std::int64_t size, modifiedSeconds, modifiedNanoseconds, changedSeconds, changedNanoseconds;
    auto Fields() const
    {
        return std::tie(path, format, device, inode, size, modifiedSeconds, modifiedNanoseconds, changedSeconds,
                        changedNanoseconds);
    }
    bool operator<(const FileKey& other) const { return Fields() < other.Fields(); }
};

// Least recently used pictures go first once the cache holds more than PictureCacheBytes.
class PictureCache {
public:
    bool Find(const FileKey& key, QImage& image)
    {
        const auto found = index_.find(key);
        if (found == index_.end())
            return false;
        order_.splice(order_.begin(), order_, found->second);
        image = found->second->second;
        ++hits_;
        return true;
    }

    void Add(const FileKey& key, const QImage& image)
    {
        const std::int64_t bytes = image.sizeInBytes();
        if (bytes > PictureCacheBytesEach)
            return; // a single huge picture would push out everything else
        // An older version of the same file will never be asked for again.
        for (auto entry = order_.begin(); entry != order_.end();) {
            if (entry->first.path == key.path && entry->first.format == key.format)
                entry = Remove(entry);
            else
                ++entry;
        }
        order_.emplace_front(key, image);
        index_[key] = order_.begin();
        held_ += bytes;
        while (held_ > PictureCacheBytes)
            Remove(std::prev(order_.end()));
    }

    void Clear()
    {
        order_.clear();
        index_.clear();
        held_ = 0;
        hits_ = 0;
    }

    std::int64_t Hits() const { return hits_; }
    std::int64_t Held() const { return held_; }

private:
    using Entries = std::list<std::pair<FileKey, QImage>>;

    Entries::iterator Remove(Entries::iterator entry)
    {
        held_ -= entry->second.sizeInBytes();
        index_.erase(entry->first);
        return order_.erase(entry);
    }

    Entries order_;
    std::map<FileKey, Entries::iterator> index_;
    std::int64_t held_ = 0;
    std::int64_t hits_ = 0;
};

PictureCache& Cache()
{
    static PictureCache cache;
    return cache;
}

// The error for a file that is not a valid picture of its kind, with the fault found in
// it when there is one.
std::string InvalidFile(const std::string& shownName, const QByteArray& format, const std::string& fault = "")
{
    return "Файл " + Quoted(shownName) + " повреждён или не является рисунком " + format.toUpper().toStdString()
           + (fault.empty() ? "" : ": " + fault);
}

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

// Decodes the pixels of an uncompressed bitmap whose headers (in `head`) were checked:
// palette pictures into indexed images, the others into 32-bit ones, each channel of
// any width scaled to 8 bits. Rows are read a few megabytes at a time.
QImage DecodeUncompressed(QFile& file, const BitmapHeader& header, const QByteArray& head, const std::string& shownName)
{
    const int width = int(header.width), rows = int(Rows(header));
    const std::uint32_t bits = header.bitsPerPixel;
    const std::int64_t stride = (header.width * bits + 31) / 32 * 4;
    const bool alpha = header.masks[3] != 0;
    QImage image = NewImage(width, rows,
                            bits <= 8 ? QImage::Format_Indexed8 : alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        throw Exception("Не хватает памяти, чтобы открыть рисунок " + Quoted(shownName) + " ("
                        + std::to_string(width) + " × " + std::to_string(rows) + " точек)");
    if (bits <= 8) {
        // Indices past the palette's end show black.
        QList<QRgb> table(1 << bits, qRgb(0, 0, 0));
        const Bytes bytes(head);
        const int entry = header.headerSize == CoreHeaderSize ? 3 : 4;
        for (std::int64_t i = 0; i < header.colours; ++i) {
            const std::int64_t at = header.paletteStart + i * entry;
            table[qsizetype(i)] = qRgb(int(bytes.Byte(at + 2)), int(bytes.Byte(at + 1)), int(bytes.Byte(at)));
        }
        image.setColorTable(table);
    }
    const Channel red(header.masks[0]), green(header.masks[1]), blue(header.masks[2]), opacity(header.masks[3]);
    const bool plain32 = bits == 32 && !alpha && header.masks[0] == 0xFF0000 && header.masks[1] == 0xFF00
                         && header.masks[2] == 0xFF;

    if (!file.seek(header.dataOffset))
        throw Exception(InvalidFile(shownName, "bmp", "начало точек вне файла"));
    const std::int64_t chunkRows = std::max<std::int64_t>(1, (std::int64_t(4) << 20) / stride);
    std::vector<uchar> chunk(std::size_t(std::min<std::int64_t>(chunkRows, rows) * stride));
    for (int first = 0; first < rows; first += int(chunkRows)) {
        const int count = int(std::min<std::int64_t>(chunkRows, rows - first));
        const std::int64_t wanted = count * stride;
        if (file.read(reinterpret_cast<char*>(chunk.data()), wanted) != wanted)
            throw Exception(InvalidFile(shownName, "bmp", "точек в файле меньше, чем указано в заголовке"));
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

// Checks a bitmap's headers and decodes the file in the given format from its start:
// uncompressed bitmaps here, run-length encoded ones and other kinds by Qt's readers.
QImage Decode(QFile& file, std::int64_t fileSize, const std::string& shownName, const QByteArray& format)
{
    if (format == "bmp") {
        const QByteArray first = file.read(LongestHead);
        QByteArray head = first;
        const std::int64_t needed = BitmapHeadSize(first, fileSize);
        if (needed > head.size())
            head += file.read(needed - head.size());
        BitmapHeader header;
        const std::string fault = BitmapFault(head, fileSize, header);
        if (!fault.empty())
            throw Exception(InvalidFile(shownName, format, fault));
        if (TooLarge(header))
            throw Exception("Рисунок " + Quoted(shownName) + " слишком велик: " + std::to_string(header.width) + " × "
                            + std::to_string(Rows(header)) + " точек, а программа рисует не больше "
                            + std::to_string(MaxBitmapPixels) + " точек (например, 8192 × 8192) и не больше "
                            + std::to_string(MaxBitmapSide) + " точек по стороне");
        if (header.compression != Rle8 && header.compression != Rle4)
            return DecodeUncompressed(file, header, head, shownName);
        file.seek(0);
    }
    // The caller decided the kind: a picture saved under another kind's name is not guessed at.
    // Qt's own bound on a picture's memory is raised to the program's: the largest bitmap
    // allowed, at four bytes a point.
    QImageReader::setAllocationLimit(int((MaxBitmapPixels * 4) >> 20) + 1);
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        throw Exception(InvalidFile(shownName, format));
    return image;
}

// Opens, checks and decodes one file in the given format, or takes it from the cache.
QImage Read(const std::string& path, const std::string& shownName, const QByteArray& format)
{
    const QString qpath = QString::fromStdString(path);
    // Pictures built into the program are read once per layout and not kept.
    if (qpath.startsWith(":/")) {
        QFile file(qpath);
        if (!file.open(QIODevice::ReadOnly))
            throw Exception("Встроенный рисунок " + Quoted(shownName) + " не найден");
        return Decode(file, file.size(), shownName, format);
    }

    const OpenedFile opened = OpenForReading(path, "файл рисунка", shownName);
    const struct stat& status = opened.status;
    // The key is taken from the open file itself, so it describes the content read below.
    const FileKey key{QFileInfo(qpath).absoluteFilePath().toStdString(),
                      format.toStdString(),
                      status.st_dev,
                      status.st_ino,
                      status.st_size,
                      status.st_mtim.tv_sec,
                      status.st_mtim.tv_nsec,
                      status.st_ctim.tv_sec,
                      status.st_ctim.tv_nsec};
    QImage image;
    if (Cache().Find(key, image))
        return image;
    QFile file;
    if (!file.open(opened.handle.Get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        throw Exception("Не удалось прочитать файл рисунка " + Quoted(shownName));
    image = Decode(file, status.st_size, shownName, format);
    Cache().Add(key, image);
    return image;
}

} // namespace

QImage ReadPicture(const std::string& path, const std::string& shownName)
{
    const QByteArray format = QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
    if (format.isEmpty() || !QImageReader::supportedImageFormats().contains(format))
        throw Exception("Неизвестный вид рисунка у файла " + Quoted(shownName)
                        + ": расширение должно быть, например, .bmp");
    return Read(path, shownName, format);
}

QImage ReadBitmap(const std::string& path, const std::string& shownName)
{
    return Read(path, shownName, "bmp");
}

std::int64_t PictureCacheHits()
{
    return Cache().Hits();
}

std::int64_t PictureCacheHeldBytes()
{
    return Cache().Held();
}

void ClearPictureCache()
{
    Cache().Clear();
}
