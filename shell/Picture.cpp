// Pictures decoded whole or a top-left part at a time.
#include "shell/Picture.h"

#include <algorithm>

Picture::Picture(const QImage& whole)
    : width_(whole.width()), height_(whole.height()), pixels_(std::make_shared<Pixels>(Pixels{whole, nullptr}))
{
}

Picture::Picture(int width, int height, std::shared_ptr<PictureSource> source)
    : width_(width), height_(height), pixels_(std::make_shared<Pixels>(Pixels{QImage(), std::move(source)}))
{
}

const QImage& Picture::TopLeft(int columns, int rows) const
{
    static const QImage none;
    if (!pixels_)
        return none;
    QImage& decoded = pixels_->decoded;
    columns = std::clamp(columns, 0, width_);
    rows = std::clamp(rows, 0, height_);
    if (!pixels_->source || (decoded.width() >= columns && decoded.height() >= rows))
        return decoded;
    // A part grows in steps, so that a window made larger a little at a time does not
    // have the picture decoded again at every step.
    constexpr int Step = 256;
    const auto grown = [](int wanted, int had, int whole) {
        return std::min(whole, (std::max(wanted, had) + Step - 1) / Step * Step);
    };
    decoded = pixels_->source->TopLeft(grown(columns, decoded.width(), width_), grown(rows, decoded.height(), height_));
    if (decoded.width() == width_ && decoded.height() == height_)
        pixels_->source.reset(); // the file is needed no more
    return decoded;
}

std::int64_t Picture::DecodedBytes() const
{
    return pixels_ ? pixels_->decoded.sizeInBytes() : 0;
}
