#pragma once

#include <QChartView>
#include <QPoint>

#include <array>
#include <functional>
#include <optional>

class QLineSeries;
class QRubberBand;
class QValueAxis;

namespace kdx {

// A chart of position error against time in ms that the operator can move
// around in: the wheel zooms the time axis around the pointer (with Ctrl the
// error axis), a drag with the left button zooms into the rectangle drawn, a
// drag with the right or middle button pans, a click sets cursor 1 and a
// click with Shift cursor 2; the arrow keys pan, + and - zoom.
class ScopeView : public QChartView {
    Q_OBJECT
public:
    explicit ScopeView(QWidget *parent = nullptr);

    QValueAxis *timeAxis() const { return m_x; }
    QValueAxis *errorAxis() const { return m_y; }
    // Adds a series on both axes.
    void attach(QLineSeries *series);

    void setTimeRange(double lo, double hi);
    void setErrorRange(double lo, double hi);
    // Zooms by factor (below 1: in) around the given time.
    void zoomTime(double factor, double aroundMs);
    void panTime(double deltaMs);

    // Cursors 0 and 1: a time in ms, or none.
    void setCursorAt(int which, std::optional<double> tMs);
    std::optional<double> cursorAt(int which) const { return m_cursors[std::size_t(which)]; }
    // The error shown at a time (set by the owner), for the cursor readout.
    std::function<std::optional<double>(double)> valueAt;
    // "Δt = 12,5 ms  Δe = 30" or the one cursor set, or empty.
    QString cursorText() const;

    // The plot's width in pixels: how many columns a line needs at most.
    int plotColumns() const;
    // How long the last repaint took, ns.
    qint64 lastPaintNs() const { return m_paintNs; }
    quint64 paints() const { return m_paints; }

signals:
    // The operator zoomed or panned: a live view stops following.
    void viewMovedByOperator();
    void cursorsChanged();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPointF valueAtPixel(const QPoint &pos) const;
    void placeCursorLines();

    QValueAxis *m_x;
    QValueAxis *m_y;
    std::array<QLineSeries *, 2> m_cursorLines{};
    std::array<std::optional<double>, 2> m_cursors;
    QRubberBand *m_band = nullptr;
    QPoint m_pressAt;
    QPoint m_lastPan;
    Qt::MouseButton m_dragButton = Qt::NoButton;
    qint64 m_paintNs = 0;
    quint64 m_paints = 0;
};

} // namespace kdx
