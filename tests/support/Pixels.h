// What a window shows, as pixels: its client area rendered with its drawings and controls,
// and the picture a test expects to see there.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <vector>

class TCustomForm;

// The window's client area as the user sees it.
QImage Shot(TCustomForm& form);

// A client area of the given size in the window's background colour with pictures
// stamped on it in order, each opaque at its own size, cut at the edges.
struct Stamp {
    QImage picture;
    QPoint at;
};
QImage Stamped(QSize client, QRgb background, const std::vector<Stamp>& stamps);

// How many pixels inside `area` differ between two pictures.
int Differences(const QImage& seen, const QImage& meant, QRect area);
