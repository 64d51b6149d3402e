#pragma once

#include "commissioningreport.h"
#include "link/seriallink.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;
class QSpinBox;
class QTabWidget;

namespace kdx {

class CaptureChart;
class CaptureStore;
class FileChooser;
class FiguresTable;
class LiveScope;
class ReadingBuffer;
class StepCapture;
class Text;

// What the workbench works with; the terminal gives it.
struct WorkbenchServices {
    SerialLink *link = nullptr;
    StepCapture *capture = nullptr;
    CaptureStore *store = nullptr;
    const ReadingBuffer *readings = nullptr;
    FileChooser *files = nullptr;
    // Shows a message box with an OK button.
    std::function<void(const QString &)> tell;
    // Runs an operation that owns the line, now or as soon as the one under
    // way has ended, and then `done`; false when nothing will run.
    std::function<bool(const std::function<void()> &, const std::function<void()> &)> runOwningLine;
    // Stops the motor and leaves the controller in step mode.
    std::function<void()> stopAndReset;
    // The step count of the main window ("Lépés száma"), when it holds one.
    std::function<int()> stepCount;
    // Where the parameter file is: the dialogs start there.
    std::function<QString()> folder;
    // The axis the operator works on ("3. gép, X tengely"); may be null.
    Text *axisName = nullptr;
    // Opens the history window.
    std::function<void()> openHistory;
    // The axis, the date and the session's events for the report.
    std::function<ReportInput()> reportInput;
};

// The tuning workbench: the live scope, step captures with their figures,
// runs kept and compared, export and import. A window of its own beside the
// main window; closing it stops what it runs and stops the motor.
class WorkbenchWindow : public QWidget {
    Q_OBJECT
public:
    explicit WorkbenchWindow(const WorkbenchServices &services, QWidget *parent = nullptr);
    ~WorkbenchWindow() override;

    void captureStep();  // one step in the alternating direction
    void capturePairs(); // K pairs
    void cancelCapture();

    void exportSelectedCsv();
    void exportAllCsv();
    void importCsv();
    void exportPng();
    void setReference();
    void deleteSelected();

    // "Jegyzőkönyv": the report shown as it will be printed, and saved as
    // PDF with the same as HTML beside it.
    void previewReport();
    void saveReport();

    // The status line, worked out now.
    void updateStatus();

    LiveScope *scope() const { return m_scope; }
    CaptureChart *captureChart() const { return m_chart; }
    FiguresTable *figures() const { return m_table; }
    QTabWidget *tabs() const { return m_tabs; }
    QSpinBox *stepBox() const { return m_steps; }
    QSpinBox *windowBox() const { return m_window; }
    QSpinBox *pairsBox() const { return m_pairs; }
    QPushButton *captureButton() const { return m_captureOne; }
    QPushButton *pairsButton() const { return m_capturePairs; }
    QPushButton *cancelButton() const { return m_cancel; }
    QLabel *statusLine() const { return m_status; }
    QLabel *messageLine() const { return m_message; }
    QLineEdit *axisBox() const { return m_axis; }
    QPushButton *historyButton() const { return m_history; }
    QPlainTextEdit *reportNote() const { return m_note; }
    QTextBrowser *reportPreview() const { return m_preview; }
    QPushButton *reportButton() const { return m_saveReport; }

    static const char *const kTitle;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void runCapture(bool pairs);
    void finishCapture(bool pairs, int pairCount);
    void setBusy(bool busy);
    QString proposedName(const QString &stem, const QString &suffix) const;
    bool writeFile(const QString &path, const QByteArray &bytes);
    QWidget *buildCaptureTab();
    QWidget *buildReportTab();
    ReportInput currentReport() const;

    WorkbenchServices m_s;
    LiveScope *m_scope;
    CaptureChart *m_chart;
    FiguresTable *m_table;
    QTabWidget *m_tabs;
    QSpinBox *m_steps, *m_window, *m_pairs;
    QPushButton *m_captureOne, *m_capturePairs, *m_cancel;
    QLineEdit *m_axis;
    QPushButton *m_history;
    QPlainTextEdit *m_note;
    QTextBrowser *m_preview;
    QPushButton *m_saveReport;
    QWidget *m_reportTab;
    QLabel *m_status, *m_message;
    QTimer m_statusTimer;
    LinkCounters m_countersAtOpen;
    bool m_busy = false;
    bool m_stopWhenDone = false;
    bool m_cancelRequested = false; // before the capture could start
    bool m_captureStarted = false;
};

} // namespace kdx
