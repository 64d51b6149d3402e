#include "tracesurface.h"

#include <QPaintEvent>
#include <QPainter>

namespace kdx {

TraceSurface::TraceSurface(QWidget *parent)
    : QWidget(parent), m_background(QColor(0x10, 0x1c, 0x24)), m_trace(QColor(0x9c, 0xf0, 0x3c))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TraceSurface::setColors(const QColor &background, const QColor &trace)
{
    m_background = background;
    m_trace = trace;
    clear();
}

void TraceSurface::ensureImage()
{
    const qreal dpr = devicePixelRatioF();
    const QSize wanted = (QSizeF(size()) * dpr).toSize();
    if (m_image.size() == wanted)
        return;
    QImage image(wanted, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(m_background);
    if (!m_image.isNull()) {
        QPainter p(&image);
        p.drawImage(QPointF(0, 0), m_image);
    }
    m_image = image;
}

void TraceSurface::drawLine(float x1, float y1, float x2, float y2)
{
    drawSegments({QLineF(x1, y1, x2, y2)});
}

void TraceSurface::drawSegments(const std::vector<QLineF> &segments)
{
    if (segments.empty())
        return;
    ensureImage();
    QRectF area;
    {
        QPainter p(&m_image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(m_trace, 1.0));
        for (const QLineF &twips : segments) {
            const QLineF px(twips.p1() / kTwipsPerPixel, twips.p2() / kTwipsPerPixel);
            p.drawLine(px);
            area |= QRectF(px.p1(), px.p2()).normalized();
        }
    }
    m_last = segments.back();
    m_segments += int(segments.size());
    // Repaint only around the new segments.
    update(area.adjusted(-2, -2, 2, 2).toAlignedRect());
}

void TraceSurface::clear()
{
    ensureImage();
    m_image.fill(m_background);
    m_segments = 0;
    m_last = QLineF();
    update();
}

void TraceSurface::paintEvent(QPaintEvent *event)
{
    ensureImage();
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r, m_image,
                QRectF(QPointF(r.topLeft()) * m_image.devicePixelRatio(),
                       QSizeF(r.size()) * m_image.devicePixelRatio()));
}

void TraceSurface::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ensureImage();
}

} // namespace kdx
