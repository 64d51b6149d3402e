#include "livescope.h"

#include "core/readingbuffer.h"
#include "core/scopemath.h"
#include "core/steadyclock.h"
#include "scopeview.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace kdx {

LiveScope::LiveScope(const ReadingBuffer &buffer, QWidget *parent)
    : QWidget(parent), m_buffer(buffer), m_view(new ScopeView(this)), m_series(new QLineSeries),
      m_pause(new QPushButton(tr("Szünet"), this)),
      m_whole(new QPushButton(tr("Teljes nézet"), this)),
      m_auto(new QCheckBox(tr("Automatikus hibatartomány"), this)), m_range(new QSpinBox(this)),
      m_span(new QSpinBox(this)), m_cursorText(new QLabel(this))
{
    m_originNs = steadyNowNs();
    m_series->setName(tr("Pozíció hiba"));
    m_view->attach(m_series);
    m_view->chart()->legend()->hide();
    m_view->valueAt = [this](double t) { return valueAt(t); };

    m_pause->setCheckable(true);
    m_auto->setChecked(true);
    m_range->setRange(1, 32767);
    m_range->setValue(500);
    m_range->setPrefix(QStringLiteral("± "));
    m_range->setAccessibleName(tr("Hibatartomány"));
    m_span->setRange(50, 600000);
    m_span->setSingleStep(100);
    m_span->setValue(2000);
    m_span->setSuffix(QStringLiteral(" ms"));
    m_span->setAccessibleName(tr("Időablak"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_pause);
    bar->addWidget(m_whole);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(tr("Időablak:"), this));
    bar->addWidget(m_span);
    bar->addSpacing(12);
    bar->addWidget(m_auto);
    bar->addWidget(m_range);
    bar->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_cursorText);

    connect(m_pause, &QPushButton::toggled, this, [this](bool on) {
        m_pause->setText(on ? tr("Folytatás") : tr("Szünet"));
        m_dirty = true;
    });
    connect(m_whole, &QPushButton::clicked, this, &LiveScope::wholeView);
    connect(m_view, &ScopeView::viewMovedByOperator, this, [this] {
        setPaused(true);
        m_dirty = true;
    });
    connect(m_view, &ScopeView::cursorsChanged, this, &LiveScope::showCursors);
    const auto redrawSoon = [this] { m_dirty = true; };
    connect(m_auto, &QCheckBox::toggled, this, redrawSoon);
    connect(m_range, &QSpinBox::valueChanged, this, redrawSoon);
    connect(m_span, &QSpinBox::valueChanged, this, redrawSoon);

    m_timer.setInterval(1000 / kMaxFps);
    connect(&m_timer, &QTimer::timeout, this, &LiveScope::tick);
    m_view->setTimeRange(-m_span->value(), 0);
    m_view->setErrorRange(-m_range->value(), m_range->value());
}

void LiveScope::setActive(bool active)
{
    if (active)
        m_timer.start();
    else
        m_timer.stop();
}

void LiveScope::setPaused(bool paused)
{
    m_pause->setChecked(paused);
}

bool LiveScope::isPaused() const
{
    return m_pause->isChecked();
}

void LiveScope::wholeView()
{
    setPaused(true);
    if (m_buffer.empty()) {
        m_view->setTimeRange(-m_span->value(), 0);
    } else {
        const double first = double(m_buffer.at(0).tNs - m_originNs) / 1e6;
        const double last = double(m_buffer.latest().tNs - m_originNs) / 1e6;
        m_view->setTimeRange(first, std::max(last, first + 1));
    }
    m_auto->setChecked(true);
    m_dirty = true;
    refresh();
}

void LiveScope::tick()
{
    // Behind another tab nothing needs drawing.
    if (isVisible() && steadyNowNs() >= m_nextRedrawNs)
        refresh();
}

void LiveScope::refresh()
{
    const qint64 now = steadyNowNs();
    const bool fresh = m_buffer.totalPushed() != m_seen;
    if (!isPaused()) {
        if (!fresh && !m_dirty)
            return;
        // The trace sweeps across a standing page, as on an oscilloscope;
        // the axes change only when a new page starts, so a redraw repaints
        // the trace and not the whole chart.
        const double nowMs = double(now - m_originNs) / 1e6;
        const double span = m_span->value();
        const double start = m_view->timeAxis()->min();
        const double end = m_view->timeAxis()->max();
        if (nowMs > end || nowMs < start || std::abs(end - start - span) > 1e-6) {
            const double newStart = nowMs - span * kKeptOnNewPage;
            m_view->setTimeRange(newStart, newStart + span);
        }
        redraw(m_view->timeAxis()->min(), nowMs);
    } else if (!m_dirty) {
        return;
    } else {
        redraw(m_view->timeAxis()->min(), m_view->timeAxis()->max());
    }
    // What the last redraw cost (preparing and painting) sets the next one's time.
    const qint64 cost = steadyNowNs() - now + m_view->lastPaintNs();
    m_nextRedrawNs = now + cost * kPaintShareDivisor;
}

void LiveScope::redraw(double t0Ms, double t1Ms)
{
    m_seen = m_buffer.totalPushed();
    m_dirty = false;
    const auto ns = [this](double ms) { return m_originNs + qint64(ms * 1e6); };
    const std::vector<QPointF> points =
        decimatedReadings(m_buffer, m_originNs, ns(t0Ms), ns(t1Ms), m_view->plotColumns());
    m_series->replace(QList<QPointF>(points.begin(), points.end()));
    if (m_auto->isChecked()) {
        double lo = 0, hi = 0;
        for (const QPointF &p : points) {
            lo = std::min(lo, p.y());
            hi = std::max(hi, p.y());
        }
        fitErrorRange(lo, hi);
    } else {
        m_view->setErrorRange(-m_range->value(), m_range->value());
    }
    ++m_repaints;
    showCursors();
}

void LiveScope::fitErrorRange(double lo, double hi)
{
    // Symmetric around zero error, with room above the largest swing. The
    // range changes only when the swing outgrows it or shrinks well inside
    // it, not with every reading.
    const double swing = std::max({std::abs(lo), std::abs(hi), 10.0});
    const double reach = m_view->errorAxis()->max();
    if (swing > reach || swing < reach / 3 || m_view->errorAxis()->min() != -reach)
        m_view->setErrorRange(-swing * 1.5, swing * 1.5);
}

std::optional<double> LiveScope::valueAt(double tMs) const
{
    if (m_buffer.empty())
        return std::nullopt;
    const qint64 t = m_originNs + qint64(tMs * 1e6);
    std::size_t i = m_buffer.firstAtOrAfter(t);
    if (i == m_buffer.size())
        --i;
    else if (i > 0 && t - m_buffer.at(i - 1).tNs < m_buffer.at(i).tNs - t)
        --i;
    return double(m_buffer.at(i).raw);
}

void LiveScope::showCursors()
{
    m_cursorText->setText(m_view->cursorText());
}

} // namespace kdx
