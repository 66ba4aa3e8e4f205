// Pictures and drawing: bitmaps and pictures loaded from files, the canvas a window is
// drawn on, and the image control that shows a picture.
#pragma once

#include "shell/Controls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Picture;
class QImage;
class QWidget;

// A Windows bitmap held in memory.
class TBitmap {
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // Reads the file as a Windows bitmap whatever its extension, into this same bitmap. A
    // file that cannot be opened or is not a valid bitmap raises Exception naming the
    // file, and the bitmap keeps what it held.
    void LoadFromFile(const std::string& fileName);

    int Width() const;
    int Height() const;
    bool Empty() const;

    // For the shell: all the pixels; at least the top-left `columns` × `rows` of them,
    // which is all a large bitmap read from a file decodes (raises Exception when they
    // cannot be had); and a call made whenever they change.
    const QImage& Image() const;
    const QImage& Part(int columns, int rows) const;
    void SetImage(const QImage& image);
    void SetPicture(const Picture& picture);
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    std::unique_ptr<Picture> picture_;
    std::function<void()> onChange_;
};

// The picture of an image control. Whatever kind of file it was loaded from, it holds its
// pixels in one bitmap object for its whole life.
class TPicture {
public:
    TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // Loads a picture file, its kind chosen by the name's extension. A missing,
    // unreadable or invalid file raises Exception naming the file and leaves the
    // picture as it was.
    void LoadFromFile(const std::string& fileName);

    // The picture as a bitmap; the same object until the picture is destroyed.
    TBitmap* GetBitmap() { return &bitmap_; }

    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }

    // For the shell: the picture's pixels, and a call made whenever they change.
    const QImage& Image() const { return bitmap_.Image(); }
    void SetImage(const QImage& image) { bitmap_.SetImage(image); }
    void SetOnChange(std::function<void()> onChange) { bitmap_.SetOnChange(std::move(onChange)); }

private:
    TBitmap bitmap_;
};

// What has been drawn on a window's client area. It is kept in an image that the window
// paints under its controls, so drawings survive the window being covered, minimised or
// resized.
class TCanvas {
public:
    // `surface` is the widget whose client area the canvas covers.
    explicit TCanvas(QWidget* surface);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Draws the bitmap at its own size, opaque, with its top-left corner at (X, Y) in
    // client coordinates; whatever reaches past the client area is cut off.
    void Draw(int X, int Y, const TBitmap* Graphic);

    // For the shell: the drawings, transparent where nothing was drawn.
    const QImage& Image() const;

private:
    struct Stamp;

    // Puts the draws made since the last call into the image, each only where no later
    // draw covers it: a run of draws that overlap costs what can be seen, not their sum.
    void Compose() const;

    QWidget* surface_;
    std::unique_ptr<QImage> image_;
    mutable std::vector<Stamp> stamps_;
};

// Shows a picture unscaled from its top-left corner; never sizes itself to it.
class TImage : public TControl {
public:
    TImage();
    TPicture* Picture() { return &picture_; }

private:
    TPicture picture_;
};
