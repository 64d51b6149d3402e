#pragma once

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QSpinBox;

namespace kdx {

class ReadingBuffer;
class ScopeView;

// The monitor's readings against real time in ms. While running the view
// follows the newest readings; paused, zoomed or panned it stands while the
// readings go on into the buffer. The chart is redrawn at most kMaxFps times
// a second, and only when there is something new to show, from the readings
// thinned to the plot's pixel columns.
class LiveScope : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxFps = 60;
    // The chart takes at most about this share of the window's time: after
    // a slow repaint the next one waits longer.
    static constexpr int kPaintShareDivisor = 20;
    // Share of the span still shown at the left when the trace starts a new page.
    static constexpr double kKeptOnNewPage = 0.25;

    explicit LiveScope(const ReadingBuffer &buffer, QWidget *parent = nullptr);

    // The time axis counts ms from this steady-clock time.
    void setOrigin(qint64 ns) { m_originNs = ns; }
    qint64 origin() const { return m_originNs; }

    void setPaused(bool paused);
    bool isPaused() const;
    // Everything the buffer holds, standing.
    void wholeView();
    // Redraws now if there is anything new (the timer calls this).
    void refresh();
    // Redraws so far, for the benchmark.
    quint64 repaints() const { return m_repaints; }
    // Starts and stops the redraw timer (with the window's visibility).
    void setActive(bool active);

    ScopeView *view() const { return m_view; }
    QLineSeries *series() const { return m_series; }
    QPushButton *pauseButton() const { return m_pause; }
    QPushButton *wholeViewButton() const { return m_whole; }
    QCheckBox *autoRangeBox() const { return m_auto; }
    QSpinBox *rangeBox() const { return m_range; }
    QSpinBox *spanBox() const { return m_span; }

private:
    // A tick of the redraw timer: redraws unless the last one was too dear.
    void tick();
    void redraw(double t0Ms, double t1Ms);
    void fitErrorRange(double lo, double hi);
    std::optional<double> valueAt(double tMs) const;
    void showCursors();

    const ReadingBuffer &m_buffer;
    ScopeView *m_view;
    QLineSeries *m_series;
    QPushButton *m_pause, *m_whole;
    QCheckBox *m_auto;
    QSpinBox *m_range, *m_span;
    QLabel *m_cursorText;
    QTimer m_timer;
    qint64 m_originNs = 0;
    quint64 m_seen = 0; // readings pushed when the chart was drawn last
    bool m_dirty = true;
    quint64 m_repaints = 0;
    qint64 m_nextRedrawNs = 0;
};

} // namespace kdx
