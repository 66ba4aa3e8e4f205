// Picture files: opened through the shell's safe opener, bitmaps read by the shell's own
// bitmap reader and other kinds by Qt's image readers, every failure told in Russian with
// the file's name, and decoded pictures kept in the picture cache.
#include "shell/PictureFiles.h"

#include "shell/BitmapFormat.h"
#include "shell/Files.h"
#include "shell/PictureCache.h"
#include "shell/SysUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <functional>
#include <unistd.h>

namespace {

// A bitmap read at offsets from an open file of a known size.
class FileBytes : public BitmapBytes {
public:
    FileBytes(int fd, std::int64_t size) : fd_(fd), size_(size) {}
    std::int64_t Size() const override { return size_; }
    bool Read(std::int64_t offset, std::int64_t count, void* to) override
    {
        auto* into = static_cast<char*>(to);
        while (count > 0) {
            const ssize_t read = pread(fd_, into, std::size_t(count), off_t(offset));
            if (read < 0 && errno == EINTR)
                continue;
            if (read <= 0)
                return false;
            into += read, offset += read, count -= read;
        }
        return true;
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

// Checks a bitmap's headers and decodes it, or tells what is wrong with it in a message
// that names the file. Run-length encoded pixels, once checked, are left to `others`.
QImage DecodeBitmapFile(BitmapBytes& bytes, const std::string& shownName, const std::function<QImage()>& others)
{
    try {
        const BitmapHeader header = ReadBitmapHeader(bytes);
        if (header.compression == Rle8 || header.compression == Rle4)
            return others();
        return DecodeBitmap(bytes, header);
    } catch (const BitmapError& error) {
        switch (error.kind) {
        case BitmapError::TooLarge:
            throw Exception("Рисунок " + Quoted(shownName) + " слишком велик: " + error.reason);
        case BitmapError::NoMemory:
            throw Exception("Не хватает памяти, чтобы открыть рисунок " + Quoted(shownName) + " (" + error.reason + ")");
        default:
            throw Exception(InvalidFile(shownName, "bmp", error.reason));
        }
    }
}

// Decodes a file in the given format with Qt's reader, from its start.
QImage DecodeWithQt(QFile& file, const std::string& shownName, const QByteArray& format)
{
    // Qt's own bound on a picture's memory is raised, once, to the program's: the largest
    // bitmap allowed, at four bytes a point.
    static const bool limited = [] {
        QImageReader::setAllocationLimit(int((MaxBitmapPixels * 4) >> 20) + 1);
        return true;
    }();
    (void)limited;
    if (!file.seek(0))
        throw Exception("Не удалось прочитать файл рисунка " + Quoted(shownName));
    // The caller decided the kind: a picture saved under another kind's name is not guessed at.
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        throw Exception(InvalidFile(shownName, format));
    return image;
}

// Checks and decodes an open file in the given format.
QImage Decode(QFile& file, BitmapBytes& bytes, const std::string& shownName, const QByteArray& format)
{
    if (format == "bmp")
        return DecodeBitmapFile(bytes, shownName, [&] { return DecodeWithQt(file, shownName, format); });
    return DecodeWithQt(file, shownName, format);
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
        const QByteArray content = file.readAll();
        BitmapMemory bytes(content.constData(), content.size());
        return Decode(file, bytes, shownName, format);
    }

    const OpenedFile opened = OpenForReading(path, "файл рисунка", shownName);
    // The key is taken from the open file itself, so it describes the content read below.
    const std::string absolute = QFileInfo(qpath).absoluteFilePath().toStdString();
    QImage image;
    if (FindCachedPicture(absolute, format.toStdString(), opened.status, image))
        return image;
    QFile file;
    if (!file.open(opened.handle.Get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        throw Exception("Не удалось прочитать файл рисунка " + Quoted(shownName));
    FileBytes bytes(opened.handle.Get(), opened.status.st_size);
    image = Decode(file, bytes, shownName, format);
    CachePicture(absolute, format.toStdString(), opened.status, image);
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
