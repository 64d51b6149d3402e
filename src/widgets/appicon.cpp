#include "appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kdx {

namespace {

QPixmap paintIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1c, 0x2b, 0x35));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);

    p.setPen(QPen(QColor(0x5a, 0x73, 0x82), 1.5));
    p.setBrush(QColor(0x10, 0x1c, 0x24));
    p.drawRoundedRect(QRectF(7, 7, 50, 36), 3, 3);

    p.setPen(QPen(QColor(0xd0, 0x40, 0x40), 1));
    p.drawLine(QPointF(9, 25), QPointF(55, 25));

    const QPointF trace[] = {{9, 25},  {14, 25}, {17, 11}, {21, 36}, {25, 17}, {29, 30},
                             {33, 21}, {37, 27}, {42, 24}, {48, 25}, {55, 25}};
    p.setPen(QPen(QColor(0x9c, 0xf0, 0x3c), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(trace, int(std::size(trace)));

    p.setPen(QPen(QColor(0xf6, 0xd2, 0x7a), 1.5));
    p.setBrush(QColor(0xe8, 0xb2, 0x3a));
    p.drawEllipse(QPointF(20, 52), 6, 6);
    p.setPen(QPen(QColor(0x1c, 0x2b, 0x35), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 52), QPointF(24, 48));

    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0xe6, 0xee, 0xf2));
    p.drawText(QPointF(31, 56), QStringLiteral("KDX"));
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(paintIcon(size));
    return icon;
}

} // namespace kdx
