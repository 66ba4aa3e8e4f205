// The window's canvas: bitmaps drawn opaque at their own size, cut at the client area
// wherever they are placed, and kept by the window.
#include "shell/Graphics.h"
#include "tests/shell/ProbeForm.h"
#include "tests/support/Pixels.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int ClientWidth = 300, ClientHeight = 200;

TEST(Canvas, DrawsOpaqueAndCutsAtTheClientAreaWhereverTheCornerLies)
{
    // Half-transparent pixels in the file: the canvas shows their colour as it is.
    QImage translucent(20, 20, QImage::Format_ARGB32);
    translucent.fill(qRgba(200, 100, 50, 128));
    TBitmap bitmap;
    bitmap.SetImage(translucent);
    const QRgb drawn = qRgb(200, 100, 50);

    struct Row {
        int x, y;
        QRect visible; // what of the bitmap lands inside the client area
    };
    const Row rows[] = {
        {10, 30, QRect(10, 30, 20, 20)},
        {-10, -5, QRect(0, 0, 10, 15)},
        {290, 190, QRect(290, 190, 10, 10)},
        {ClientWidth, 0, QRect()},
        {INT_MAX, INT_MAX, QRect()},
        {INT_MIN, INT_MIN, QRect()},
        {INT_MAX - 5, 10, QRect()},
        {5, INT_MIN + 3, QRect()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "(" << row.x << ", " << row.y << ")");
        TProbeForm form;
        form.GetCanvas()->Draw(row.x, row.y, &bitmap);
        const QImage& canvas = form.GetCanvas()->Image();
        EXPECT_LE(canvas.width(), ClientWidth);
        EXPECT_LE(canvas.height(), ClientHeight);
        int inside = 0, outside = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const bool meant = row.visible.contains(x, y);
                const QRgb pixel = canvas.pixel(x, y);
                inside += meant && pixel == (drawn | 0xFF000000);
                outside += !meant && qAlpha(pixel) != 0;
            }
        }
        EXPECT_EQ(inside, row.visible.width() * row.visible.height());
        EXPECT_EQ(outside, 0);
    }
}

TEST(Canvas, LaterDrawsCoverEarlierOnesAndKeepTheBitmapAsItWasWhenDrawn)
{
    QImage red(40, 40, QImage::Format_RGB32), blue(20, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    TBitmap large, small;
    large.SetImage(red);
    small.SetImage(blue);
    TProbeForm form;
    form.GetCanvas()->Draw(0, 0, &large);
    form.GetCanvas()->Draw(10, 10, &small);
    small.SetImage(red); // changed after it was drawn
    form.GetCanvas()->Draw(25, 25, &large);
    const QImage& image = form.GetCanvas()->Image();
    for (const QPoint at : {QPoint(5, 5), QPoint(27, 27), QPoint(60, 60)})
        EXPECT_EQ(image.pixel(at), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(15, 15), qRgb(0, 0, 255));
}

TEST(Canvas, NothingToDrawDrawsNothing)
{
    TProbeForm form;
    TBitmap empty;
    form.GetCanvas()->Draw(0, 0, &empty);
    form.GetCanvas()->Draw(0, 0, nullptr);
    EXPECT_TRUE(form.GetCanvas()->Image().isNull());
}

} // namespace
