// Renders windows and the pictures tests expect them to show.
#include "tests/support/Pixels.h"

#include "shell/Forms.h"

#include <QPainter>
#include <QWidget>

QImage Shot(TCustomForm& form)
{
    return form.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Stamped(QSize client, QRgb background, const std::vector<Stamp>& stamps)
{
    QImage image(client, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    for (const Stamp& stamp : stamps)
        painter.drawImage(stamp.at, stamp.picture.convertToFormat(QImage::Format_RGB32));
    return image;
}

int Differences(const QImage& seen, const QImage& meant, QRect area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!seen.valid(x, y) || !meant.valid(x, y) || (seen.pixel(x, y) & 0xFFFFFF) != (meant.pixel(x, y) & 0xFFFFFF))
                ++count;
    return count;
}
