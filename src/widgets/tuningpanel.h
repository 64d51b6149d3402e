#pragma once

#include "core/autotuner.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kdx {

// "Automata hangolás": the operator's choices for the auto-tuner, its
// progress, the baseline and tuned figures side by side with what the model
// foresaw, both responses overlaid, the measured steps with the fitted
// model's prediction, and the log of every set of gains tried. The panel only shows
// and asks; whoever hosts it runs the tuning (see the signals). Closing the
// window that holds it, Esc and "Stop" all ask a running tuning to stop.
class TuningPanel : public QWidget {
    Q_OBJECT
public:
    explicit TuningPanel(QWidget *parent = nullptr);

    TuningOptions options() const;
    // The step count the main window uses, as the starting choice.
    void setStepSteps(int steps);

    // The host tells the panel what goes on.
    void tuningStarted();
    void showProgress(const TuningProgress &p);
    void addCandidate(const CandidateEntry &e);
    void tuningFinished(const TuningResult &r);
    // The operator's decision has been carried out (or the result is gone).
    void decisionTaken(const QString &status);

    // The log as CSV (also what "Napló mentése" writes).
    QByteArray logCsv() const;

    QPushButton *startButton() const { return m_start; }
    QPushButton *stopButton() const { return m_stop; }
    QPushButton *acceptButton() const { return m_accept; }
    QPushButton *discardButton() const { return m_discard; }
    QPushButton *exportButton() const { return m_export; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *statusLabel() const { return m_status; }
    QTableWidget *figuresTable() const { return m_figures; }
    QTableWidget *logTable() const { return m_log; }
    QLineSeries *baselineSeries() const { return m_baselineSeries; }
    QLineSeries *resultSeries() const { return m_resultSeries; }
    QChartView *fitChart() const { return m_fitChart; }
    QLabel *modelLabel() const { return m_model; }

signals:
    void startRequested(const kdx::TuningOptions &options);
    void stopRequested();
    void acceptRequested(const kdx::ParamNumbers &tuned);
    void discardRequested();
    void exportRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildChoices();
    QWidget *buildChart();
    QWidget *buildFitChart();
    void showFigures(const TuningResult &r);
    // The fitted steps with the model's prediction, and what the model says.
    void showFit(const TuningResult &r);
    void setRunning(bool running);

    QSpinBox *m_step;
    QSpinBox *m_limit;
    QSpinBox *m_torque;
    QComboBox *m_aim;
    QSpinBox *m_budget;
    QCheckBox *m_tuneP;
    QCheckBox *m_tuneI;
    QCheckBox *m_tuneD;
    QPushButton *m_start;
    QPushButton *m_stop;
    QPushButton *m_accept;
    QPushButton *m_discard;
    QPushButton *m_export;
    QProgressBar *m_progress;
    QLabel *m_status;
    QTableWidget *m_figures;
    QTableWidget *m_log;
    QChartView *m_chart;
    QChartView *m_fitChart;
    QLabel *m_model;
    QLineSeries *m_baselineSeries;
    QLineSeries *m_resultSeries;
    std::vector<CandidateEntry> m_entries;
    ParamNumbers m_tuned{};
    bool m_running = false;
    QPointer<QWidget> m_watched; // the window that holds the panel
};

} // namespace kdx
