#include "capturechart.h"

#include "operations/capturestore.h"
#include "runcolours.h"

#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kdx {

CaptureChart::CaptureChart(CaptureStore &store, QWidget *parent) : ScopeView(parent), m_store(store)
{
    setAccessibleName(tr("Lépésválaszok"));
    chart()->legend()->setVisible(true);
    // The readout follows the reference, or the first capture shown.
    valueAt = [this](double t) -> std::optional<double> {
        int pick = m_store.reference();
        for (int i = 0; pick < 0 && i < m_store.size(); ++i)
            if (m_store.at(i).visible)
                pick = i;
        if (pick < 0)
            return std::nullopt;
        const StepRecord &r = m_store.at(pick).capture.record;
        if (r.tMs.empty())
            return std::nullopt;
        const auto it = std::lower_bound(r.tMs.begin(), r.tMs.end(), t);
        std::size_t i = std::size_t(
            std::min<std::ptrdiff_t>(it - r.tMs.begin(), std::ptrdiff_t(r.tMs.size()) - 1));
        if (i > 0 && std::abs(r.tMs[i - 1] - t) < std::abs(r.tMs[i] - t))
            --i;
        return r.error[i];
    };
    connect(&m_store, &CaptureStore::changed, this, &CaptureChart::rebuild);
    rebuild();
    wholeView();
}

QLineSeries *CaptureChart::seriesOf(int entry) const
{
    return entry >= 0 && entry < int(m_series.size()) ? m_series[std::size_t(entry)] : nullptr;
}

void CaptureChart::rebuild()
{
    for (QLineSeries *s : m_series)
        if (s) {
            chart()->removeSeries(s);
            delete s;
        }
    m_series.assign(std::size_t(m_store.size()), nullptr);
    for (int i = 0; i < m_store.size(); ++i) {
        const CaptureStore::Entry &e = m_store.at(i);
        if (!e.visible)
            continue;
        auto *s = new QLineSeries;
        const bool reference = i == m_store.reference();
        s->setName(e.capture.label + (reference ? tr(" (referencia)") : QString()));
        QPen pen(runColour(e.colour));
        pen.setWidthF(reference ? 3.0 : 1.5);
        s->setPen(pen);
        const StepRecord &r = e.capture.record;
        QList<QPointF> points;
        points.reserve(qsizetype(r.tMs.size()));
        for (std::size_t k = 0; k < r.tMs.size() && k < r.error.size(); ++k)
            points.append(QPointF(r.tMs[k], r.error[k]));
        s->replace(points);
        attach(s);
        m_series[std::size_t(i)] = s;
    }
}

void CaptureChart::wholeView()
{
    double tMax = 0, lo = 0, hi = 0;
    for (const CaptureStore::Entry &e : m_store.entries()) {
        if (!e.visible)
            continue;
        const StepRecord &r = e.capture.record;
        tMax = std::max({tMax, r.windowMs, r.tMs.empty() ? 0.0 : r.tMs.back()});
        for (double v : r.error) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    setTimeRange(0, tMax > 0 ? tMax : 1000);
    const double margin = std::max((hi - lo) * 0.05, 5.0);
    setErrorRange(lo - margin, hi + margin);
}

} // namespace kdx
