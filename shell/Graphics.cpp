// Bitmaps and pictures over Qt images, the retained canvas of a window, and the image
// control.
#include "shell/Graphics.h"

#include "shell/Layout.h"
#include "shell/Picture.h"
#include "shell/PictureFiles.h"
#include "shell/Conversions.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>

#include <algorithm>

namespace {

// Paints a picture at its own size from the top-left corner; mouse moves over it are
// its own (it tracks none), so they never reach the window beneath.
class ImageWidget : public QWidget {
public:
    explicit ImageWidget(const TBitmap& picture) : picture_(picture) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // Only the part inside the control can show. A large picture whose file changed
        // since it was opened cannot give more of it: what it gave is shown, not a mix.
        try {
            painter.drawImage(0, 0, picture_.Part(width(), height()));
        } catch (const Exception&) {
            painter.drawImage(0, 0, picture_.Part(0, 0));
        }
    }

private:
    const TBitmap& picture_;
};

} // namespace

TBitmap::TBitmap() : picture_(std::make_unique<Picture>()) {}

TBitmap::~TBitmap() = default;

void TBitmap::LoadFromFile(const std::string& fileName)
{
    SetPicture(ReadBitmap(fileName, fileName));
}

int TBitmap::Width() const
{
    return picture_->Width();
}

int TBitmap::Height() const
{
    return picture_->Height();
}

bool TBitmap::Empty() const
{
    return picture_->Empty();
}

const QImage& TBitmap::Image() const
{
    return picture_->Whole();
}

const QImage& TBitmap::Part(int columns, int rows) const
{
    return picture_->TopLeft(columns, rows);
}

void TBitmap::SetImage(const QImage& image)
{
    SetPicture(Picture(image));
}

void TBitmap::SetPicture(const Picture& picture)
{
    *picture_ = picture;
    if (onChange_)
        onChange_();
}

TPicture::TPicture() = default;

void TPicture::LoadFromFile(const std::string& fileName)
{
    bitmap_.SetPicture(ReadPicture(fileName, fileName));
}

// A draw waiting to be put into the image: the bitmap's pixels as they were when it was
// drawn, where they go, and where the bitmap's corner lies.
struct TCanvas::Stamp {
    QImage source;
    QRect target;
    QPoint corner;
};

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
    // Only the part of the bitmap that reaches the client area is asked for, now, so that
    // a picture that cannot give it fails this draw. The copy shares the pixels and keeps
    // them as they are, whatever happens to the bitmap afterwards.
    stamps_.push_back({Graphic->Part(int(right - X), int(bottom - Y)), target, QPoint(X, Y)});
    // A handler that draws without end holds no more than a bounded number of draws.
    constexpr std::size_t MostWaiting = 256;
    if (stamps_.size() >= MostWaiting)
        Compose();
    surface_->update(target);
}

const QImage& TCanvas::Image() const
{
    Compose();
    return *image_;
}

void TCanvas::Compose() const
{
    if (stamps_.empty())
        return;
    QPainter painter(image_.get());
    // Every pixel of a bitmap covers what was there, whatever alpha its file held.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    QRegion covered;
    for (auto stamp = stamps_.rbegin(); stamp != stamps_.rend(); ++stamp) {
        for (const QRect& rect : QRegion(stamp->target).subtracted(covered)) {
            const QRect from = rect.translated(-stamp->corner);
            if (stamp->source.hasAlphaChannel())
                painter.drawImage(rect, stamp->source.copy(from).convertToFormat(QImage::Format_RGB32));
            else
                painter.drawImage(rect, stamp->source, from);
        }
        covered += stamp->target;
    }
    stamps_.clear();
}

TImage::TImage() : TControl(new ImageWidget(*picture_.GetBitmap()))
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
