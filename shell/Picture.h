// A picture as the shell holds it: all its pixels, or, for a large bitmap read from a
// file, its size and the top-left part decoded so far, with the open file to decode more
// of it from. A window only ever shows the part of a picture that falls inside it, so a
// photo-sized bitmap costs what can be seen of it, not its whole size.
#pragma once

#include <QImage>

#include <cstdint>
#include <memory>

// Where more of a picture comes from: a top-left part of the size asked.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    // Raises Exception when the part cannot be had (the file changed, a read failed).
    virtual QImage TopLeft(int columns, int rows) = 0;
};

// Copies share what they have decoded: a picture read from the cache a hundred times is
// decoded once.
class Picture {
public:
    Picture() = default;
    explicit Picture(const QImage& whole);
    Picture(int width, int height, std::shared_ptr<PictureSource> source);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0; }

    // Pixels holding at least the picture's top-left `columns` × `rows` points (as many as
    // the picture has), decoded now if they were not yet; the image may hold more. Raises
    // Exception when they had to be decoded and could not be.
    const QImage& TopLeft(int columns, int rows) const;
    const QImage& Whole() const { return TopLeft(width_, height_); }

    // The memory its decoded pixels take now.
    std::int64_t DecodedBytes() const;

private:
    struct Pixels {
        QImage decoded;
        std::shared_ptr<PictureSource> source; // none once the whole picture is decoded
    };
    int width_ = 0, height_ = 0;
    std::shared_ptr<Pixels> pixels_;
};
