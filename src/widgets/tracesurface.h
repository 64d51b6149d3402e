#pragma once

#include <QImage>
#include <QLineF>
#include <QWidget>

#include <vector>

namespace kdx {

// The graph surface of the position-error monitor. Coordinates are in twips
// (15 to a pixel at 96 dpi), origin at the top left, y growing downwards.
// Segments are drawn onto a retained image, so each costs the same however
// long the trace has been running; nothing but clear() removes them.
class TraceSurface : public QWidget {
    Q_OBJECT
public:
    static constexpr double kTwipsPerPixel = 15.0;

    explicit TraceSurface(QWidget *parent = nullptr);

    void drawLine(float x1, float y1, float x2, float y2);
    // Draws the segments in order, repainting once around all of them.
    void drawSegments(const std::vector<QLineF> &segments);
    void clear();

    // What has been drawn since the last clear (twips), for inspection.
    int segmentCount() const { return m_segments; }
    QLineF lastSegment() const { return m_last; }

    QColor traceColor() const { return m_trace; }
    void setColors(const QColor &background, const QColor &trace);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureImage();

    QImage m_image;
    QColor m_background;
    QColor m_trace;
    QLineF m_last;
    int m_segments = 0;
};

} // namespace kdx
