// Reading Windows bitmap files: a table of small generated files in every supported form,
// checked pixel by pixel, a table of damaged and forged headers that must be refused, and
// the cache of decoded files.
#include "shell/Graphics.h"
#include "shell/PictureCache.h"
#include "shell/PictureFiles.h"
#include "tests/shell/ProbeForm.h"
#include "tests/support/TemporaryFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Colours of the reference picture: channels at both ends and one colour between, which
// channels of 5 bits store within 7 and all wider ones exactly.
const QRgb Colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255),
                        qRgb(0, 0, 0),   qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(160, 96, 32)};

// The reference picture: an odd width, so that every row needs padding.
constexpr int PictureWidth = 7;
constexpr int PictureHeight = 5;

// How a form's file is laid out and reached, past its header fields.
enum class Way {
    Plain,
    Skips,   // run-length codes that skip every other point with a move right
    Far,     // the pixel data 2.25 GiB into a sparse file
    Unsized, // read through a file whose size reads 0, as in /proc
};
constexpr std::int64_t FarGap = std::int64_t(9) << 28;

struct Form {
    const char* name;
    std::uint32_t headerSize;
    int bits;
    int compression; // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    bool topDown;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue of bit fields; none: the usual ones
    Way way = Way::Plain;
    int width = PictureWidth, height = PictureHeight;
};

std::array<std::uint32_t, 3> Masks(const Form& form)
{
    if (form.masks[0])
        return form.masks;
    if (form.bits == 16)
        return {0xF800, 0x07E0, 0x001F}; // 5-6-5
    return {0x000000FF, 0x0000FF00, 0x00FF0000}; // red in the lowest byte: masks are honoured
}

// A colour packed into a bit-field pixel: each channel scaled from 8 bits to its mask's width.
std::uint32_t Pack(QRgb c, const std::array<std::uint32_t, 3>& masks)
{
    const int channels[] = {qRed(c), qGreen(c), qBlue(c)};
    std::uint32_t pixel = 0;
    for (int i = 0; i < 3; ++i) {
        const int shift = __builtin_ctz(masks[i]);
        const std::uint64_t largest = masks[i] >> shift;
        pixel |= std::uint32_t((channels[i] * largest + 127) / 255) << shift;
    }
    return pixel;
}

int ColourCount(const Form& form)
{
    return form.bits == 1 ? 2 : 8;
}

// Points that run-length codes skip show the palette's first colour.
int IndexAt(const Form& form, int x, int y)
{
    return form.way == Way::Skips && x % 2 ? 0 : (x + 3 * y) % ColourCount(form);
}

void Put16(QByteArray& bytes, std::uint32_t value)
{
    bytes.append(char(value & 0xFF)).append(char(value >> 8 & 0xFF));
}

void Put32(QByteArray& bytes, std::uint32_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

std::uint32_t Get32(const QByteArray& bytes, int at)
{
    return std::uint32_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8 | std::uint8_t(bytes[at + 2]) << 16
                         | std::uint32_t(std::uint8_t(bytes[at + 3])) << 24);
}

// One stored row of pixels (y counted from the top of the picture).
QByteArray Row(const Form& form, int y)
{
    QByteArray row;
    if (form.way == Way::Skips) {
        // Runs of one point, each followed by a move one point right.
        for (int x = 0; x < form.width; x += 2) {
            row.append('\1').append(char(IndexAt(form, x, y) << (form.bits == 4 ? 4 : 0)));
            if (x + 1 < form.width)
                row.append('\0').append('\2').append('\1').append('\0');
        }
        return row.append('\0').append('\0');
    }
    if (form.compression == 1) {
        // Three literal pixels, then runs of one colour each, then the end of the row.
        row.append('\0').append('\3');
        for (int x = 0; x < 3; ++x)
            row.append(char(IndexAt(form, x, y)));
        row.append('\0');
        for (int x = 3; x < PictureWidth; ++x)
            row.append('\1').append(char(IndexAt(form, x, y)));
        return row.append('\0').append('\0');
    }
    if (form.compression == 2) {
        // Five literal pixels in nibbles (three bytes, padded to four), then a run of two.
        row.append('\0').append('\5');
        for (int x = 0; x < 5; x += 2)
            row.append(char(IndexAt(form, x, y) << 4 | (x + 1 < 5 ? IndexAt(form, x + 1, y) : 0)));
        row.append('\0');
        row.append('\2').append(char(IndexAt(form, 5, y) << 4 | IndexAt(form, 6, y)));
        return row.append('\0').append('\0');
    }
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    for (int x = 0; x < form.width; ++x) {
        const QRgb c = Colours[IndexAt(form, x, y)];
        switch (form.bits) {
        case 1:
        case 4:
        case 8:
            bitBuffer = bitBuffer << form.bits | IndexAt(form, x, y);
            bitCount += form.bits;
            if (bitCount == 8) {
                row.append(char(bitBuffer));
                bitBuffer = bitCount = 0;
            }
            break;
        case 16:
            if (form.compression == 3)
                Put16(row, Pack(c, Masks(form)));
            else // 5-5-5
                Put16(row, (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3);
            break;
        case 24:
            row.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
            break;
        case 32:
            if (form.compression == 3)
                Put32(row, Pack(c, Masks(form)));
            else
                Put32(row, qBlue(c) | qGreen(c) << 8 | qRed(c) << 16);
            break;
        }
    }
    if (bitCount > 0)
        row.append(char(bitBuffer << (8 - bitCount)));
    while (row.size() % 4)
        row.append('\0');
    return row;
}

QByteArray MakeBitmap(const Form& form)
{
    QByteArray palette;
    if (form.bits <= 8) {
        for (int i = 0; i < ColourCount(form); ++i) {
            palette.append(char(qBlue(Colours[i]))).append(char(qGreen(Colours[i]))).append(char(qRed(Colours[i])));
            if (form.headerSize != 12)
                palette.append('\0');
        }
        // The oldest header has no colour count, so its palette is always full.
        if (form.headerSize == 12)
            palette.append(QByteArray(3 * ((1 << form.bits) - ColourCount(form)), '\0'));
    }
    QByteArray masks;
    if (form.compression == 3)
        for (const std::uint32_t mask : Masks(form))
            Put32(masks, mask);
    QByteArray pixels;
    for (int i = 0; i < form.height; ++i)
        pixels += Row(form, form.topDown ? i : form.height - 1 - i);
    if (form.compression == 1 || form.compression == 2)
        pixels.append('\0').append('\1');

    QByteArray info;
    Put32(info, form.headerSize);
    if (form.headerSize == 12) {
        Put16(info, form.width);
        Put16(info, form.height);
        Put16(info, 1);
        Put16(info, form.bits);
    } else {
        Put32(info, form.width);
        Put32(info, form.topDown ? -form.height : form.height);
        Put16(info, 1);
        Put16(info, form.bits);
        Put32(info, form.compression);
        Put32(info, pixels.size());
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, form.bits <= 8 ? ColourCount(form) : 0);
        Put32(info, 0);
        // The newer headers carry the masks themselves, then colour space fields.
        if (form.headerSize > 40) {
            info += masks.isEmpty() ? QByteArray(12, '\0') : masks;
            masks.clear();
            info.append(QByteArray(form.headerSize - info.size(), '\0'));
        }
    }
    // A far form's pixels lie past a gap that Write leaves before them.
    const std::uint32_t offset = 14 + info.size() + masks.size() + palette.size() + (form.way == Way::Far ? FarGap : 0);
    QByteArray file("BM");
    Put32(file, offset + pixels.size());
    Put32(file, 0);
    Put32(file, offset);
    return file + info + masks + palette + pixels;
}

const Form Forms[] = {
    {"1 бит", 40, 1, 0, false},
    {"4 бита", 40, 4, 0, false},
    {"8 бит", 40, 8, 0, false},
    {"16 бит 5-5-5", 40, 16, 0, false},
    {"16 бит 5-6-5 по маскам", 40, 16, 3, false},
    {"24 бита", 40, 24, 0, false},
    {"32 бита", 40, 32, 0, false},
    {"32 бита по маскам", 40, 32, 3, false},
    {"4 бита сверху вниз", 40, 4, 0, true},
    {"24 бита сверху вниз", 40, 24, 0, true},
    {"32 бита по маскам сверху вниз", 40, 32, 3, true},
    {"32 бита, маски 10-10-10", 40, 32, 3, false, {0x3FF00000, 0x000FFC00, 0x000003FF}},
    {"32 бита, маски 16-8-8", 40, 32, 3, false, {0xFFFF0000, 0x0000FF00, 0x000000FF}},
    {"32 бита, маски 2-10-20", 40, 32, 3, false, {0xC0000000, 0x3FF00000, 0x000FFFFF}},
    {"16 бит, маски 4-4-4", 40, 16, 3, false, {0x0F00, 0x00F0, 0x000F}},
    {"заголовок V5, 32 бита, маски 10-10-10", 124, 32, 3, false, {0x3FF00000, 0x000FFC00, 0x000003FF}},
    {"RLE8", 40, 8, 1, false},
    {"RLE4", 40, 4, 2, false},
    {"старый заголовок, 8 бит", 12, 8, 0, false},
    {"старый заголовок, 24 бита", 12, 24, 0, false},
    {"заголовок V4, 16 бит по маскам", 108, 16, 3, false},
    {"заголовок V5, 24 бита", 124, 24, 0, false},
    {"RLE8, сдвиги через точку, 60 × 20", 40, 8, 1, false, {}, Way::Skips, 60, 20},
    {"RLE4, сдвиги через точку, 60 × 20", 40, 4, 2, false, {}, Way::Skips, 60, 20},
    {"RLE8, точки в 2,25 ГиБ от начала файла", 40, 8, 1, false, {}, Way::Far},
    {"24 бита, точки в 2,25 ГиБ от начала файла", 40, 24, 0, false, {}, Way::Far},
    {"24 бита в файле, чей размер читается как 0", 40, 24, 0, false, {}, Way::Unsized},
    {"RLE4 в файле, чей размер читается как 0", 40, 4, 2, false, {}, Way::Unsized},
};

// A file in /proc whose size reads 0 and that holds the given bytes (ending in a zero
// byte): the environment of a child process made of them. Ends the child when destroyed.
class UnsizedFile {
public:
    explicit UnsizedFile(QByteArray bytes)
    {
        if (!bytes.endsWith('\0'))
            bytes.append('\0');
        QList<QByteArray> parts = bytes.chopped(1).split('\0');
        std::vector<char*> environment;
        for (QByteArray& part : parts)
            environment.push_back(part.data());
        environment.push_back(nullptr);
        char sleep[] = "sleep", seconds[] = "60";
        char* arguments[] = {sleep, seconds, nullptr};
        child_ = fork();
        if (child_ == 0) {
            execve("/bin/sleep", arguments, environment.data());
            _exit(127);
        }
        path_ = "/proc/" + std::to_string(child_) + "/environ";
        // Until the child has started sleep, the file holds the test's own environment.
        for (int i = 0; i < 500 && Content() != bytes; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~UnsizedFile()
    {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    const std::string& Path() const { return path_; }

private:
    QByteArray Content() const
    {
        QFile file(QString::fromStdString(path_));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    pid_t child_;
    std::string path_;
};

class BitmapFiles : public TemporaryFolder {
protected:
    void SetUp() override
    {
        TemporaryFolder::SetUp();
        ClearPictureCache();
    }

    static void Write(const QString& name, const QByteArray& bytes, std::int64_t gap = 0)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // A gap before the pixels is left unwritten: the file is sparse.
        const qsizetype head = gap ? qsizetype(Get32(bytes, 10) - gap) : bytes.size();
        ASSERT_EQ(file.write(bytes.left(head)), head);
        ASSERT_TRUE(file.seek(head + gap));
        ASSERT_EQ(file.write(bytes.mid(head)), bytes.size() - head);
    }
};

TEST_F(BitmapFiles, EveryCommonFormReadsPixelForPixel)
{
    for (const Form& form : Forms) {
        SCOPED_TRACE(form.name);
        Write("form.bmp", MakeBitmap(form), form.way == Way::Far ? FarGap : 0);
        const std::optional<UnsizedFile> unsized
            = form.way == Way::Unsized ? std::make_optional<UnsizedFile>(MakeBitmap(form)) : std::nullopt;
        const std::string path = unsized ? unsized->Path() : "form.bmp";
        QImage image;
        try {
            image = ReadBitmap(path, path).Whole();
        } catch (const Exception& failure) {
            ADD_FAILURE() << failure.Message();
            continue;
        }
        ClearPictureCache();
        QFile::remove("form.bmp");
        if (image.size() != QSize(form.width, form.height)) {
            ADD_FAILURE() << "size " << image.width() << " × " << image.height();
            continue;
        }
        // Channels narrower than 8 bits cannot store every colour exactly.
        int narrowest = 8;
        if (form.bits >= 16)
            for (const std::uint32_t mask : form.compression == 3 ? Masks(form) : std::array<std::uint32_t, 3>{0x7C00, 0x3E0, 0x1F})
                narrowest = std::min(narrowest, __builtin_popcount(mask));
        const int slack = narrowest < 8 ? 256 >> narrowest : 0;
        int wrong = 0;
        for (int y = 0; y < form.height; ++y) {
            for (int x = 0; x < form.width; ++x) {
                const QRgb read = image.pixel(x, y), meant = Colours[IndexAt(form, x, y)];
                if (std::abs(qRed(read) - qRed(meant)) > slack || std::abs(qGreen(read) - qGreen(meant)) > slack
                    || std::abs(qBlue(read) - qBlue(meant)) > slack)
                    ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels differ";
    }
}

// Changes a valid file's bytes: a 32-bit field at an offset, or the file's length.
struct Damage {
    const char* what;
    Form form;
    std::function<void(QByteArray&)> apply;
    const char* reason = ""; // what the message must say is wrong
};

void Set32(QByteArray& bytes, int at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> 8 * i & 0xFF);
}

const Form Plain8{"", 40, 8, 0, false};
const Form Plain24{"", 40, 24, 0, false};
const Form Runs8{"", 40, 8, 1, false};
const Form Runs4{"", 40, 4, 2, false};

const char* const Cut = "сжатые точки оборваны";

const Damage Damages[] = {
    {"пустой файл", Plain24, [](QByteArray& b) { b.clear(); }},
    {"только подпись", Plain24, [](QByteArray& b) { b.truncate(2); }},
    {"другая подпись", Plain24, [](QByteArray& b) { b[0] = 'P'; }},
    {"заголовок обрезан", Plain24, [](QByteArray& b) { b.truncate(30); }},
    {"точек на байт меньше", Plain24, [](QByteArray& b) { b.chop(1); }},
    {"половина точек", Plain24, [](QByteArray& b) { b.chop(b.size() / 3); }},
    {"нет точек вовсе", Plain8, [](QByteArray& b) { b.truncate(54 + 8 * 4); }},
    {"100000 × 100000", Plain24, [](QByteArray& b) { Set32(b, 18, 100000); Set32(b, 22, 100000); }},
    {"размеры переполняют 32 бита", Plain24, [](QByteArray& b) { Set32(b, 18, 0x7FFFFFFF); Set32(b, 22, 0x7FFFFFFF); }},
    {"ширина 65536 при высоте 65536", Plain8, [](QByteArray& b) { Set32(b, 18, 65536); Set32(b, 22, 65536); }},
    {"нулевая ширина", Plain24, [](QByteArray& b) { Set32(b, 18, 0); }},
    {"отрицательная ширина", Plain24, [](QByteArray& b) { Set32(b, 18, std::uint32_t(-7)); }, "отрицательная ширина -7"},
    {"нулевая высота", Plain24, [](QByteArray& b) { Set32(b, 22, 0); }},
    {"высота INT_MIN", Plain24, [](QByteArray& b) { Set32(b, 22, std::uint32_t(INT_MIN)); }},
    {"глубина 7 бит", Plain24, [](QByteArray& b) { b[28] = 7; }},
    {"две плоскости", Plain24, [](QByteArray& b) { b[26] = 2; }},
    {"неизвестное сжатие", Plain24, [](QByteArray& b) { Set32(b, 30, 9); }},
    {"RLE8 у 24 бит", Plain24, [](QByteArray& b) { Set32(b, 30, 1); }},
    {"заголовок размером 41", Plain24, [](QByteArray& b) { Set32(b, 14, 41); }},
    {"заголовок огромного размера", Plain24, [](QByteArray& b) { Set32(b, 14, 0xFFFFFFF0); }},
    {"палитра длиннее 256 цветов", Plain8, [](QByteArray& b) { Set32(b, 46, 1000); }},
    {"палитра за концом файла", Plain8, [](QByteArray& b) { Set32(b, 46, 256); b.truncate(54 + 100); }},
    {"палитра в 2^32 - 1 цветов", Plain24, [](QByteArray& b) { Set32(b, 46, 0xFFFFFFFF); }},
    {"начало точек за концом файла", Plain24, [](QByteArray& b) { Set32(b, 10, b.size() + 1); }},
    {"начало точек 0xFFFFFFFF", Plain24, [](QByteArray& b) { Set32(b, 10, 0xFFFFFFFF); }},
    {"начало точек внутри заголовка", Plain24, [](QByteArray& b) { Set32(b, 10, 20); },
     "начало точек внутри заголовков: смещение 20, заголовки до смещения 54"},
    {"начало точек в нуле", Plain8, [](QByteArray& b) { Set32(b, 10, 0); }, "начало точек внутри заголовков: смещение 0"},
    {"RLE8 без конца", Runs8, [](QByteArray& b) { b.chop(2 + 20); }, Cut},
    {"RLE8 обрезан посреди точек", Runs8, [](QByteArray& b) { b.truncate(54 + 8 * 4 + 3); }, Cut},
    {"RLE4 обрезан посреди строки", Runs4, [](QByteArray& b) { b.truncate(b.size() - 9); }, Cut},
    {"RLE сверху вниз", Runs8, [](QByteArray& b) { Set32(b, 22, std::uint32_t(-PictureHeight)); }},
    {"RLE со сдвигом за конец файла", Runs8, [](QByteArray& b) {
         b.truncate(54 + 8 * 4);
         b.append('\0').append('\2').append('\1');
     }, Cut},
};

TEST_F(BitmapFiles, DamagedAndForgedHeadersAreRefusedNamingTheFile)
{
    for (const Damage& damage : Damages) {
        SCOPED_TRACE(damage.what);
        QByteArray bytes = MakeBitmap(damage.form);
        damage.apply(bytes);
        Write("битый.bmp", bytes);
        try {
            const QImage image = ReadBitmap("битый.bmp", "битый.bmp").Whole();
            ADD_FAILURE() << "read as " << image.width() << " × " << image.height();
        } catch (const Exception& failure) {
            EXPECT_NE(failure.Message().find("«битый.bmp»"), std::string::npos) << failure.Message();
            EXPECT_NE(failure.Message().find(damage.reason), std::string::npos) << failure.Message();
        }
    }
}

TEST_F(BitmapFiles, ABitmapFailingToLoadKeepsItsPictureAndAShortOneIsRefusedByPicturesToo)
{
    TBitmap bitmap;
    Write("хороший", MakeBitmap(Plain24));
    bitmap.LoadFromFile("хороший");
    ASSERT_EQ(bitmap.Width(), PictureWidth) << "a bitmap loads whatever its name";
    const QImage good = bitmap.Image();

    QByteArray shortData = MakeBitmap(Plain24);
    shortData.chop(10);
    Write("короткий.bmp", shortData);
    Write("пустой.bmp", {});
    Write("текст.bmp", "это не рисунок");
    for (const char* bad : {"короткий.bmp", "пустой.bmp", "текст.bmp", "нет.bmp"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(bitmap.LoadFromFile(bad), Exception);
        EXPECT_EQ(bitmap.Image(), good);
    }
    TPicture picture;
    EXPECT_THROW(picture.LoadFromFile("короткий.bmp"), Exception);
    EXPECT_TRUE(picture.GetBitmap()->Empty());
}

TEST_F(BitmapFiles, AnUnchangedFileIsDecodedOnceAndAChangedOneAgain)
{
    Write("кадр.bmp", MakeBitmap(Plain24));
    TPicture picture;
    picture.LoadFromFile("кадр.bmp");
    const std::int64_t hits = PictureCacheHits();
    picture.LoadFromFile("кадр.bmp");
    TBitmap bitmap;
    bitmap.LoadFromFile("кадр.bmp");
    EXPECT_EQ(PictureCacheHits(), hits + 2);
    EXPECT_EQ(bitmap.Image(), picture.Image());

    // The same size, new content, a new change time: read afresh. The file system's
    // clock may be coarse, so the test waits until the change time really differs.
    QByteArray recoloured = MakeBitmap(Plain24);
    recoloured[54] = char(0x7F);
    const QDateTime before = QFileInfo("кадр.bmp").fileTime(QFileDevice::FileModificationTime);
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        Write("кадр.bmp", recoloured);
    } while (QFileInfo("кадр.bmp").fileTime(QFileDevice::FileModificationTime) == before);
    picture.LoadFromFile("кадр.bmp");
    EXPECT_EQ(PictureCacheHits(), hits + 2);
    EXPECT_EQ(qBlue(picture.Image().pixel(0, PictureHeight - 1)), 0x7F);

    // Rewritten in place with the same size and its old times put back (cp -p, tar,
    // rsync -t): only the change time tells, and the file is read afresh.
    struct stat kept {}, now {};
    ASSERT_EQ(stat("кадр.bmp", &kept), 0);
    recoloured[54] = char(0x3F);
    Write("кадр.bmp", recoloured);
    const timespec times[] = {kept.st_atim, kept.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, "кадр.bmp", times, 0), 0);
    ASSERT_EQ(stat("кадр.bmp", &now), 0);
    ASSERT_EQ(now.st_mtim.tv_nsec, kept.st_mtim.tv_nsec);
    picture.LoadFromFile("кадр.bmp");
    EXPECT_EQ(qBlue(picture.Image().pixel(0, PictureHeight - 1)), 0x3F) << "the old picture was shown";

    // A file replaced by another under the same name (a new inode) is read afresh too.
    Write("другой.bmp", MakeBitmap(Plain8));
    ASSERT_TRUE(QFile::remove("кадр.bmp"));
    ASSERT_TRUE(QFile::rename("другой.bmp", "кадр.bmp"));
    picture.LoadFromFile("кадр.bmp");
    EXPECT_EQ(picture.Image().format(), QImage::Format_Indexed8);
}

// A square 8-bit bitmap of one colour, run-length encoded: a few bytes a row on disk,
// side x side bytes once decoded.
QByteArray SolidBitmap(int side, int index)
{
    QByteArray pixels;
    for (int y = 0; y < side; ++y) {
        for (int left = side; left > 0; left -= 255)
            pixels.append(char(std::min(left, 255))).append(char(index));
        pixels.append('\0').append('\0');
    }
    pixels.append('\0').append('\1');
    QByteArray file = MakeBitmap(Runs8);
    const int offset = 54 + 8 * 4;
    file.truncate(offset);
    Set32(file, 2, offset + pixels.size());
    Set32(file, 18, side);
    Set32(file, 22, side);
    Set32(file, 34, pixels.size());
    return file + pixels;
}

// A one-bit picture of the given size, stripes of 8 points whose colour changes with each
// row: point (x, y) has palette index (x / 8 + y) % 2.
QByteArray StripedBitmap(int width, int height)
{
    QByteArray file = MakeBitmap(Form{"", 40, 1, 0, false});
    const int offset = 54 + 2 * 4;
    file.truncate(offset);
    const int stride = (width + 31) / 32 * 4;
    QByteArray pixels(qsizetype(stride) * height, '\0');
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        char* line = pixels.data() + qsizetype(row) * stride;
        for (int byte = 0; byte < stride; ++byte)
            line[byte] = char((byte + y) % 2 ? 0xFF : 0x00);
    }
    Set32(file, 2, offset + pixels.size());
    Set32(file, 18, width);
    Set32(file, 22, height);
    Set32(file, 34, pixels.size());
    return file + pixels;
}

TEST_F(BitmapFiles, LargePicturesAreDrawnUpToTheBoundAndRefusedPastItByTheirSize)
{
    // The largest picture allowed, 8192 × 8192, plain and run-length encoded.
    Write("полосы.bmp", StripedBitmap(8192, 8192));
    const QImage striped = ReadBitmap("полосы.bmp", "полосы.bmp").Whole();
    ASSERT_EQ(striped.size(), QSize(8192, 8192));
    for (const QPoint at : {QPoint(0, 0), QPoint(8, 0), QPoint(8191, 0), QPoint(4100, 4097), QPoint(8191, 8191)})
        EXPECT_EQ(striped.pixel(at), Colours[(at.x() / 8 + at.y()) % 2]) << at.x() << ", " << at.y();
    Write("сплошной.bmp", SolidBitmap(8192, 2));
    const QImage solid = ReadBitmap("сплошной.bmp", "сплошной.bmp").Whole();
    ASSERT_EQ(solid.size(), QSize(8192, 8192));
    EXPECT_EQ(solid.pixel(8191, 8191), Colours[2]);
    ClearPictureCache();

    // Drawn on a window, only what reaches the window is decoded, pixel for pixel; a file
    // changed in place since it was opened gives no more of itself.
    TBitmap tile;
    tile.LoadFromFile("полосы.bmp");
    TProbeForm form;
    form.GetCanvas()->Draw(-100, -50, &tile);
    EXPECT_LE(tile.Part(0, 0).width() * tile.Part(0, 0).height(), 1024 * 1024);
    for (const QPoint at : {QPoint(0, 0), QPoint(7, 3), QPoint(299, 199)})
        EXPECT_EQ(form.GetCanvas()->Image().pixel(at), Colours[((at.x() + 100) / 8 + at.y() + 50) % 2]);
    Write("полосы.bmp", StripedBitmap(8192, 8192));
    try {
        form.GetCanvas()->Draw(-4000, 0, &tile);
        ADD_FAILURE() << "drawn from a changed file";
    } catch (const Exception& failure) {
        EXPECT_NE(failure.Message().find("«полосы.bmp» изменился"), std::string::npos) << failure.Message();
    }
    ClearPictureCache();

    // Past the bound: refused by size and bound, not called damaged.
    const struct {
        int width, height;
        const char* size;
    } tooLarge[] = {{8193, 8192, "8193 × 8192 точек"}, {32769, 1, "32769 × 1 точек"}};
    for (const auto& row : tooLarge) {
        Write("огромный.bmp", StripedBitmap(row.width, row.height));
        try {
            ReadBitmap("огромный.bmp", "огромный.bmp");
            ADD_FAILURE() << row.size << " read";
        } catch (const Exception& failure) {
            for (const char* part : {"«огромный.bmp» слишком велик", row.size, "67108864", "32768"})
                EXPECT_NE(failure.Message().find(part), std::string::npos) << failure.Message();
            EXPECT_EQ(failure.Message().find("повреждён"), std::string::npos) << failure.Message();
        }
    }
}

TEST_F(BitmapFiles, TheCacheHoldsNoMoreThanItsBound)
{
    // Seventeen pictures of 64 MiB each once decoded: more than the cache may hold.
    constexpr int Count = 17;
    for (int i = 0; i < Count; ++i)
        Write(QString("большой%1.bmp").arg(i), SolidBitmap(8192, i % 8));
    for (int i = 0; i < Count; ++i)
        ReadBitmap(QString("большой%1.bmp").arg(i).toStdString(), "большой.bmp");
    EXPECT_LE(PictureCacheHeldBytes(), PictureCacheBytes);
    EXPECT_GT(PictureCacheHeldBytes(), PictureCacheBytes / 2);
    const std::int64_t hits = PictureCacheHits();
    ReadBitmap(QString("большой%1.bmp").arg(Count - 1).toStdString(), "большой.bmp");
    EXPECT_EQ(PictureCacheHits(), hits + 1) << "the latest picture stays";
    ReadBitmap("большой0.bmp", "большой.bmp");
    EXPECT_EQ(PictureCacheHits(), hits + 1) << "the oldest picture went first";
}

} // namespace
