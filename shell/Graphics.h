// Pictures loaded from files, and the image control that shows one.
#pragma once

#include "shell/Controls.h"

#include <functional>
#include <memory>
#include <string>

class QImage;

class TPicture {
public:
    TPicture();
    ~TPicture();

    // Loads a picture file, its kind chosen by the name's extension. A missing,
    // unreadable or invalid file raises Exception naming the file and leaves the
    // picture as it was.
    void LoadFromFile(const std::string& fileName);

    int Width() const;
    int Height() const;

    // For the shell: the picture's pixels, and a call made whenever they change.
    const QImage& Image() const { return *image_; }
    void SetImage(const QImage& image);
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    std::unique_ptr<QImage> image_;
    std::function<void()> onChange_;
};

// Reads a picture through Qt's image reader, the format chosen by the file's extension;
// `shownName` is the name the error messages quote. Raises Exception on any failure.
QImage ReadPicture(const std::string& path, const std::string& shownName);

// Shows a picture unscaled from its top-left corner; never sizes itself to it.
class TImage : public TControl {
public:
    TImage();
    TPicture* Picture() { return &picture_; }

private:
    TPicture picture_;
};
