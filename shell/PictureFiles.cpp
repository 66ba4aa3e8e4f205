// Picture files: opened through the shell's safe opener, bitmaps read by the shell's own
// bitmap reader (every form, run-length encoded ones too) and other kinds by Qt's image
// readers, every failure told in Russian with
// the file's name, and decoded pictures kept in the picture cache.
#include "shell/PictureFiles.h"

#include "shell/BitmapFormat.h"
#include "shell/Files.h"
#include "shell/PictureCache.h"
#include "shell/Conversions.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <unistd.h>

namespace {

// A bitmap read at offsets from an open file of a known size.
class FileBytes : public BitmapBytes {
public:
    FileBytes(int fd, std::int64_t size) : fd_(fd), size_(size) {}
    std::int64_t Size() const override { return size_; }
    bool Read(std::int64_t offset, std::int64_t count, void* to) override
    {
        return ReadAt(fd_, offset, std::size_t(count), to) == 0;
    }

private:
    int fd_;
    std::int64_t size_;
};

// The error for a file that is not a valid picture of its kind, with the fault found in
// it when there is one.
std::string InvalidFile(const std::string& shownName, const QByteArray& format, const std::string& fault = "")
{
    return "Файл " + Quoted(shownName) + " повреждён или не является рисунком " + format.toUpper().toStdString()
           + (fault.empty() ? "" : ": " + fault);
}

// The most a file whose size the system does not tell is read to: the largest picture's
// pixels at four bytes a point, and room for its headers and row ends.
constexpr std::int64_t LongestUnsizedPicture = MaxBitmapPixels * 4 + (std::int64_t(1) << 20);

// What is wrong with a bitmap, in a message that names the file.
Exception BitmapFailure(const BitmapError& error, const std::string& shownName)
{
    switch (error.kind) {
    case BitmapError::TooLarge:
        return Exception("Рисунок " + Quoted(shownName) + " слишком велик: " + error.reason);
    case BitmapError::NoMemory:
        return Exception("Не хватает памяти, чтобы открыть рисунок " + Quoted(shownName) + " (" + error.reason + ")");
    default:
        return Exception(InvalidFile(shownName, "bmp", error.reason));
    }
}

// Checks a bitmap's headers and decodes it whole.
QImage DecodeBitmapFile(BitmapBytes& bytes, const std::string& shownName)
{
    try {
        return DecodeBitmap(bytes, ReadBitmapHeader(bytes));
    } catch (const BitmapError& error) {
        throw BitmapFailure(error, shownName);
    }
}

// Pictures whose pixels would take more than this are decoded a part at a time.
constexpr std::int64_t WholeBytes = std::int64_t(4) << 20;

// The rest of a large uncompressed bitmap, decoded from its open file as far as it is
// asked for. The file must still be the one whose headers were checked: one changed in
// place since is refused, not shown half old and half new.
class BitmapFile : public PictureSource {
public:
    BitmapFile(FileHandle handle, const struct stat& status, const BitmapHeader& header, std::string shownName)
        : handle_(std::move(handle)), status_(status), header_(header), shownName_(std::move(shownName))
    {
    }

    QImage TopLeft(int columns, int rows) override
    {
        struct stat now {};
        if (fstat(handle_.Get(), &now) != 0)
            throw Exception("Не удалось прочитать файл рисунка " + Quoted(shownName_) + ": " + SystemReason(errno));
        if (now.st_size != status_.st_size || now.st_mtim.tv_sec != status_.st_mtim.tv_sec
            || now.st_mtim.tv_nsec != status_.st_mtim.tv_nsec || now.st_ctim.tv_sec != status_.st_ctim.tv_sec
            || now.st_ctim.tv_nsec != status_.st_ctim.tv_nsec)
            throw Exception("Файл рисунка " + Quoted(shownName_)
                            + " изменился, пока рисунок был открыт: его нужно открыть заново");
        FileBytes bytes(handle_.Get(), status_.st_size);
        try {
            return DecodeBitmap(bytes, header_, columns, rows);
        } catch (const BitmapError& error) {
            throw BitmapFailure(error, shownName_);
        }
    }

private:
    FileHandle handle_;
    struct stat status_;
    BitmapHeader header_;
    std::string shownName_;
};

// Checks a bitmap file's headers and length; decodes it whole, or, when it is large and
// uncompressed, keeps it open to decode the parts that are asked for.
Picture ReadBitmapFile(OpenedFile& opened, const std::string& shownName)
{
    FileBytes bytes(opened.handle.Get(), opened.status.st_size);
    try {
        const BitmapHeader header = ReadBitmapHeader(bytes);
        const std::int64_t rows = header.height < 0 ? -header.height : header.height;
        if (!DecodesInParts(header) || header.width * rows * 4 <= WholeBytes)
            return Picture(DecodeBitmap(bytes, header));
        return Picture(int(header.width), int(rows),
                       std::make_shared<BitmapFile>(std::move(opened.handle), opened.status, header, shownName));
    } catch (const BitmapError& error) {
        throw BitmapFailure(error, shownName);
    }
}

// Decodes a picture of another kind with Qt's reader, from the device's start.
QImage DecodeWithQt(QIODevice& device, const std::string& shownName, const QByteArray& format)
{
    // Qt's own bound on a picture's memory is raised, once, to the program's: the largest
    // bitmap allowed, at four bytes a point.
    static const bool limited = [] {
        QImageReader::setAllocationLimit(int((MaxBitmapPixels * 4) >> 20) + 1);
        return true;
    }();
    (void)limited;
    // The caller decided the kind: a picture saved under another kind's name is not guessed at.
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        throw Exception(InvalidFile(shownName, format));
    return image;
}

// Decodes a picture held in memory.
QImage DecodeContent(const QByteArray& content, const std::string& shownName, const QByteArray& format)
{
    if (format == "bmp") {
        BitmapMemory bytes(content.constData(), content.size());
        return DecodeBitmapFile(bytes, shownName);
    }
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return DecodeWithQt(buffer, shownName, format);
}

// Opens, checks and decodes one file in the given format, or takes it from the cache.
Picture Read(const std::string& path, const std::string& shownName, const QByteArray& format)
{
    const QString qpath = QString::fromStdString(path);
    // Pictures built into the program are read once per layout and not kept.
    if (qpath.startsWith(":/")) {
        QFile file(qpath);
        if (!file.open(QIODevice::ReadOnly))
            throw Exception("Встроенный рисунок " + Quoted(shownName) + " не найден");
        return Picture(DecodeContent(file.readAll(), shownName, format));
    }

    OpenedFile opened = OpenForReading(path, "файл рисунка", shownName);
    const int fd = opened.handle.Get();
    // A file that says it holds nothing may hold a picture all the same (in /proc, /sys, on
    // some network file systems): it is read to its end, and not kept, since its content
    // may change while its times do not.
    if (opened.status.st_size == 0) {
        std::string content;
        const int error = ReadToEnd(fd, LongestUnsizedPicture, content);
        if (error == EFBIG)
            throw Exception("Файл " + Quoted(shownName) + " не может быть рисунком: в нём больше "
                            + std::to_string(LongestUnsizedPicture) + " байт");
        if (error != 0)
            throw Exception("Не удалось прочитать файл рисунка " + Quoted(shownName) + ": " + SystemReason(error));
        return Picture(DecodeContent(QByteArray::fromStdString(content), shownName, format));
    }

    // The key is taken from the open file itself, so it describes the content read below.
    const std::string absolute = QFileInfo(qpath).absoluteFilePath().toStdString();
    Picture picture;
    if (FindCachedPicture(absolute, format.toStdString(), opened.status, picture))
        return picture;
    if (format == "bmp") {
        picture = ReadBitmapFile(opened, shownName);
    } else {
        QFile file;
        if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            throw Exception("Не удалось прочитать файл рисунка " + Quoted(shownName));
        picture = Picture(DecodeWithQt(file, shownName, format));
    }
    CachePicture(absolute, format.toStdString(), opened.status, picture);
    return picture;
}

} // namespace

Picture ReadPicture(const std::string& path, const std::string& shownName)
{
    const QByteArray format = QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
    if (format.isEmpty() || !QImageReader::supportedImageFormats().contains(format))
        throw Exception("Неизвестный вид рисунка у файла " + Quoted(shownName)
                        + ": расширение должно быть, например, .bmp");
    return Read(path, shownName, format);
}

Picture ReadBitmap(const std::string& path, const std::string& shownName)
{
    return Read(path, shownName, "bmp");
}
