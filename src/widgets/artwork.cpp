#include "artwork.h"

#include <QPainter>
#include <QPainterPath>

#include <iterator>

namespace kdx {

namespace {

QPixmap canvas(int size, qreal ratio)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QCursor valuePointer(qreal ratio)
{
    constexpr int kSize = 32;
    QPixmap pixmap = canvas(kSize, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // The ordinary arrow, white with a black rim, tip at the hot spot.
    const QPointF arrow[] = {{0.5, 0.5},   {0.5, 17.5}, {4.5, 13.5}, {7.5, 20},
                             {10.5, 18.8}, {7.5, 12.5}, {12.5, 12.5}};
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow, int(std::size(arrow)));

    // The padlock below and right of the tip.
    const QColor rim(0x3a, 0x2a, 0x08);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.2));
    p.drawArc(QRectF(14, 13, 7, 8), 0, 180 * 16);
    p.setPen(QPen(rim, 1.6));
    p.drawArc(QRectF(14, 13, 7, 8), 0, 180 * 16);
    p.setPen(QPen(rim, 1));
    p.setBrush(QColor(0xe8, 0xb2, 0x3a));
    p.drawRoundedRect(QRectF(12.5, 17.5, 10, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(QPointF(17.5, 20.8), 1.2, 1.2);
    p.drawRect(QRectF(17, 21, 1, 2.6));
    p.end();
    return QCursor(pixmap, 0, 0);
}

QPixmap helpBadge(int size, qreal ratio)
{
    QPixmap pixmap = canvas(size, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal s = size;

    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, QColor(0x4a, 0x8c, 0xd6));
    fill.setColorAt(1, QColor(0x1f, 0x5a, 0xa6));
    p.setPen(QPen(QColor(0x17, 0x46, 0x82), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(0.5, 0.5, s - 1, s - 1));

    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(qRound(s * 0.75));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

} // namespace kdx
