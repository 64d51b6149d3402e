#pragma once

#include "scopeview.h"

#include <vector>

class QLineSeries;

namespace kdx {

class CaptureStore;

// The kept step responses overlaid, each in its run colour with its label in
// the legend; the reference drawn wider. Hidden ones are left out.
class CaptureChart : public ScopeView {
    Q_OBJECT
public:
    explicit CaptureChart(CaptureStore &store, QWidget *parent = nullptr);

    // Every shown capture from its step to its end.
    void wholeView();
    // The series drawn for each capture (nullptr: hidden).
    QLineSeries *seriesOf(int entry) const;

private:
    void rebuild();

    CaptureStore &m_store;
    std::vector<QLineSeries *> m_series;
};

} // namespace kdx
