// Bitmaps and pictures over Qt images, the retained canvas of a window, and the image
// control.
#include "shell/Graphics.h"

#include "shell/Layout.h"
#include "shell/PictureFiles.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>

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

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::~TBitmap() = default;

void TBitmap::LoadFromFile(const std::string& fileName)
{
    SetImage(ReadBitmap(fileName, fileName));
}

int TBitmap::Width() const
{
    return image_->width();
}

int TBitmap::Height() const
{
    return image_->height();
}

bool TBitmap::Empty() const
{
    return image_->isNull();
}

void TBitmap::SetImage(const QImage& image)
{
    *image_ = image;
    if (onChange_)
        onChange_();
}

TPicture::TPicture() = default;

void TPicture::LoadFromFile(const std::string& fileName)
{
    SetImage(ReadPicture(fileName, fileName));
}

TCanvas::TCanvas(QWidget* surface) : surface_(surface), image_(std::make_unique<QImage>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::Draw(int X, int Y, const TBitmap* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    // The part of the bitmap inside the client area, computed wide so that a corner far
    // out cannot overflow.
    const std::int64_t left = std::max<std::int64_t>(X, 0);
    const std::int64_t top = std::max<std::int64_t>(Y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t(X) + Graphic->Width(), surface_->width());
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t(Y) + Graphic->Height(), surface_->height());
    if (left >= right || top >= bottom)
        return;

    // The retained image grows to hold what is drawn; it never shrinks, so drawings
    // outside a window made smaller come back when it grows again.
    if (right > image_->width() || bottom > image_->height()) {
        QImage grown(std::max<int>(right, image_->width()), std::max<int>(bottom, image_->height()),
                     QImage::Format_ARGB32_Premultiplied);
        grown.fill(Qt::transparent);
        QPainter copy(&grown);
        copy.drawImage(0, 0, *image_);
        copy.end();
        *image_ = std::move(grown);
    }
    const QRect target(int(left), int(top), int(right - left), int(bottom - top));
    QPainter painter(image_.get());
    // Every pixel of the bitmap covers what was there, whatever alpha its file held.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& source = Graphic->Image();
    const QRect from = target.translated(-X, -Y);
    if (source.hasAlphaChannel())
        painter.drawImage(target, source.copy(from).convertToFormat(QImage::Format_RGB32));
    else
        painter.drawImage(target, source, from);
    painter.end();
    surface_->update(target);
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
