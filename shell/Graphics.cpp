// Loading picture files with clear, file-naming errors, and the image control.
#include "shell/Graphics.h"

#include "shell/LayoutClasses.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

namespace {

// Paints a picture at its own size from the top-left corner; mouse moves over it are
// its own (it tracks none), so they never reach the window beneath.
class ImageWidget : public QWidget {
public:
    explicit ImageWidget(const TPicture& picture) : picture_(picture) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_.Image());
    }

private:
    const TPicture& picture_;
};

} // namespace

QImage ReadPicture(const std::string& path, const std::string& shownName)
{
    const QString qpath = QString::fromStdString(path);
    const QByteArray format = QFileInfo(qpath).suffix().toLower().toLatin1();
    if (format.isEmpty() || !QImageReader::supportedImageFormats().contains(format))
        throw Exception("Неизвестный вид рисунка у файла " + Quoted(shownName)
                        + ": расширение должно быть, например, .bmp");

    const QFileInfo info(qpath);
    if (!info.exists())
        throw Exception("Файл рисунка " + Quoted(shownName) + " не найден");
    if (info.isDir())
        throw Exception(Quoted(shownName) + " — это папка, а не файл рисунка");
    QFile file(qpath);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception("Нет доступа на чтение файла рисунка " + Quoted(shownName));

    // The extension decides the kind: a bitmap saved under another name is not guessed at.
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        throw Exception("Файл " + Quoted(shownName) + " повреждён или не является рисунком "
                        + format.toUpper().toStdString());
    return image;
}

TPicture::TPicture() : image_(std::make_unique<QImage>()) {}

TPicture::~TPicture() = default;

void TPicture::LoadFromFile(const std::string& fileName)
{
    SetImage(ReadPicture(fileName, fileName));
}

int TPicture::Width() const
{
    return image_->width();
}

int TPicture::Height() const
{
    return image_->height();
}

void TPicture::SetImage(const QImage& image)
{
    *image_ = image;
    if (onChange_)
        onChange_();
}

TImage::TImage() : TControl(new ImageWidget(picture_))
{
    picture_.SetOnChange([this] { Widget()->update(); });
}

void AddGraphicsClasses(ClassTable& classes)
{
    classes["TImage"] = {"TControl",
                         [] { return std::make_unique<TImage>(); },
                         {
                             {"Picture",
                              [](Loader& l, TComponent& c, const QJsonValue& v) {
                                  static_cast<TImage&>(c).Picture()->SetImage(l.Picture(v));
                              }},
                         }};
}
