#include "scopeview.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QMouseEvent>
#include <QRubberBand>
#include <QValueAxis>
#include <QWheelEvent>

#include <cmath>

namespace kdx {

namespace {

constexpr double kWheelStep = 0.8;   // zoom per wheel notch
constexpr int kClickSlackPx = 4;     // a press and release this close are a click
constexpr double kCursorReach = 1e7; // the cursor lines run past any error range

// Ticks at round numbers, about `count` of them over the span.
void setNiceTicks(QValueAxis *axis, int count)
{
    const double span = axis->max() - axis->min();
    if (!(span > 0))
        return;
    const double raw = span / count;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (const double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= raw) {
            step = m * magnitude;
            break;
        }
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setLabelFormat(step >= 1 ? QStringLiteral("%.0f") : QStringLiteral("%.2g"));
}

} // namespace

// The chart goes to the view at construction: a chart set later would leave
// the view's own first chart to nobody.
ScopeView::ScopeView(QWidget *parent)
    : QChartView(new QChart, parent), m_x(new QValueAxis), m_y(new QValueAxis)
{
    QChart *c = chart();
    c->setAnimationOptions(QChart::NoAnimation);
    c->legend()->setAlignment(Qt::AlignBottom);
    m_x->setTitleText(tr("idő (ms)"));
    m_y->setTitleText(tr("hiba (inkrement)"));
    m_x->setLabelFormat(QStringLiteral("%.0f"));
    m_y->setLabelFormat(QStringLiteral("%.0f"));
    c->addAxis(m_x, Qt::AlignBottom);
    c->addAxis(m_y, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::NoRubberBand);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Grafikon"));

    for (std::size_t i = 0; i < m_cursorLines.size(); ++i) {
        auto *line = new QLineSeries;
        QPen pen(i == 0 ? Qt::darkGray : Qt::gray);
        pen.setStyle(i == 0 ? Qt::DashLine : Qt::DotLine);
        pen.setWidth(1);
        line->setPen(pen);
        line->setName(tr("Kurzor %1").arg(i + 1));
        attach(line);
        for (QLegendMarker *m : c->legend()->markers(line))
            m->setVisible(false);
        line->setVisible(false);
        m_cursorLines[i] = line;
    }
}

void ScopeView::attach(QLineSeries *series)
{
    chart()->addSeries(series);
    series->attachAxis(m_x);
    series->attachAxis(m_y);
}

void ScopeView::setTimeRange(double lo, double hi)
{
    if (!(hi > lo))
        hi = lo + 1;
    m_x->setRange(lo, hi);
    setNiceTicks(m_x, 8);
}

void ScopeView::setErrorRange(double lo, double hi)
{
    if (!(hi > lo)) {
        lo -= 1;
        hi += 1;
    }
    m_y->setRange(lo, hi);
    setNiceTicks(m_y, 6);
}

void ScopeView::zoomTime(double factor, double aroundMs)
{
    const double lo = m_x->min(), hi = m_x->max();
    setTimeRange(aroundMs - (aroundMs - lo) * factor, aroundMs + (hi - aroundMs) * factor);
}

void ScopeView::panTime(double deltaMs)
{
    setTimeRange(m_x->min() + deltaMs, m_x->max() + deltaMs);
}

int ScopeView::plotColumns() const
{
    return std::max(1, int(chart()->plotArea().width()));
}

QPointF ScopeView::valueAtPixel(const QPoint &pos) const
{
    return chart()->mapToValue(chart()->mapFromScene(mapToScene(pos)));
}

void ScopeView::setCursorAt(int which, std::optional<double> tMs)
{
    m_cursors[std::size_t(which)] = tMs;
    placeCursorLines();
    emit cursorsChanged();
}

void ScopeView::placeCursorLines()
{
    for (std::size_t i = 0; i < m_cursorLines.size(); ++i) {
        QLineSeries *line = m_cursorLines[i];
        if (!m_cursors[i]) {
            line->setVisible(false);
            continue;
        }
        const double t = *m_cursors[i];
        line->replace(QList<QPointF>{{t, -kCursorReach}, {t, kCursorReach}});
        line->setVisible(true);
    }
}

QString ScopeView::cursorText() const
{
    const QLocale locale;
    const auto describe = [&](int i) {
        const double t = *m_cursors[std::size_t(i)];
        QString text = tr("K%1: %2 ms").arg(i + 1).arg(locale.toString(t, 'f', 1));
        if (valueAt)
            if (const auto e = valueAt(t))
                text += QStringLiteral(", %1").arg(locale.toString(*e, 'f', 0));
        return text;
    };
    if (m_cursors[0] && m_cursors[1]) {
        QString text = describe(0) + QStringLiteral("   ") + describe(1) +
                       QStringLiteral("   Δt = %1 ms")
                           .arg(locale.toString(*m_cursors[1] - *m_cursors[0], 'f', 1));
        if (valueAt) {
            const auto a = valueAt(*m_cursors[0]);
            const auto b = valueAt(*m_cursors[1]);
            if (a && b)
                text += QStringLiteral("   Δe = %1").arg(locale.toString(*b - *a, 'f', 0));
        }
        return text;
    }
    for (int i = 0; i < 2; ++i)
        if (m_cursors[std::size_t(i)])
            return describe(i);
    return QString();
}

void ScopeView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) {
        event->ignore();
        return;
    }
    const double factor = std::pow(kWheelStep, notches);
    const QPointF at = valueAtPixel(event->position().toPoint());
    if (event->modifiers() & Qt::ControlModifier) {
        const double lo = m_y->min(), hi = m_y->max();
        setErrorRange(at.y() - (at.y() - lo) * factor, at.y() + (hi - at.y()) * factor);
    } else {
        zoomTime(factor, at.x());
    }
    event->accept();
    emit viewMovedByOperator();
}

void ScopeView::mousePressEvent(QMouseEvent *event)
{
    m_pressAt = m_lastPan = event->position().toPoint();
    m_dragButton = event->button();
    if (m_dragButton == Qt::LeftButton) {
        if (!m_band)
            m_band = new QRubberBand(QRubberBand::Rectangle, viewport());
        m_band->setGeometry(QRect(m_pressAt, QSize()));
    }
    event->accept();
}

void ScopeView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_dragButton == Qt::LeftButton && m_band) {
        m_band->setGeometry(QRect(m_pressAt, at).normalized());
        m_band->setVisible((at - m_pressAt).manhattanLength() > kClickSlackPx);
    } else if (m_dragButton == Qt::RightButton || m_dragButton == Qt::MiddleButton) {
        const QPointF from = valueAtPixel(m_lastPan);
        const QPointF to = valueAtPixel(at);
        m_lastPan = at;
        panTime(from.x() - to.x());
        setErrorRange(m_y->min() + from.y() - to.y(), m_y->max() + from.y() - to.y());
        emit viewMovedByOperator();
    }
    event->accept();
}

void ScopeView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool click = (at - m_pressAt).manhattanLength() <= kClickSlackPx;
    if (m_dragButton == Qt::LeftButton) {
        if (m_band)
            m_band->hide();
        if (click) {
            const int which = (event->modifiers() & Qt::ShiftModifier) ? 1 : 0;
            setCursorAt(which, valueAtPixel(at).x());
        } else {
            const QPointF a = valueAtPixel(m_pressAt);
            const QPointF b = valueAtPixel(at);
            setTimeRange(std::min(a.x(), b.x()), std::max(a.x(), b.x()));
            setErrorRange(std::min(a.y(), b.y()), std::max(a.y(), b.y()));
            emit viewMovedByOperator();
        }
    }
    m_dragButton = Qt::NoButton;
    event->accept();
}

void ScopeView::paintEvent(QPaintEvent *event)
{
    QElapsedTimer clock;
    clock.start();
    QChartView::paintEvent(event);
    m_paintNs = clock.nsecsElapsed();
    ++m_paints;
}

void ScopeView::keyPressEvent(QKeyEvent *event)
{
    const double span = m_x->max() - m_x->min();
    const double middle = (m_x->max() + m_x->min()) / 2;
    switch (event->key()) {
    case Qt::Key_Left:
        panTime(-span / 10);
        break;
    case Qt::Key_Right:
        panTime(span / 10);
        break;
    case Qt::Key_Plus:
        zoomTime(kWheelStep, middle);
        break;
    case Qt::Key_Minus:
        zoomTime(1 / kWheelStep, middle);
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
    emit viewMovedByOperator();
}

} // namespace kdx
