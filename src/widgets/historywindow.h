#pragma once

#include "operations/historystore.h"

#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

namespace kdx {

class FileChooser;
class HistoryTimeline;

// What the history window works with; the terminal gives it.
struct HistoryServices {
    const HistoryStore *store = nullptr; // may be null or unreadable
    // Why no history is kept, in the operator's words; empty when it is.
    std::function<QString()> problem;
    // The axis the terminal is on now.
    std::function<AxisKey()> currentAxis;
    // Puts a set into the new-value boxes (Text10..Text17) and sends
    // nothing; empty when done, else why not.
    std::function<QString(const ParamTexts &)> restore;
    FileChooser *files = nullptr;
    // Where the export dialog starts.
    std::function<QString()> folder;
};

// "Előzmények": the events of an axis, newest first, filtered by kind; P0..P7
// at the point selected, and the change between two; "Visszaállítás" puts
// the values of a point into the new-value boxes for the operator to test
// or save; the selected events go to a CSV file.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit HistoryWindow(const HistoryServices &services, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // The axes and the timeline read again, the terminal's axis chosen; at
    // every show too.
    void refresh();
    // An event was kept: it goes on top when it belongs to what is shown.
    void eventRecorded(const HistoryEvent &event);
    // The points selected, oldest first.
    std::vector<HistoryEvent> selectedEvents() const;
    void selectRows(const QList<int> &rows);

    void restoreSelected();
    void exportSelectedCsv();

    QComboBox *axisBox() const { return m_axes; }
    QComboBox *kindBox() const { return m_kinds; }
    QTableView *timelineView() const { return m_view; }
    HistoryTimeline *timeline() const { return m_timeline; }
    QTableWidget *valuesTable() const { return m_values; }
    QLabel *detailsLine() const { return m_details; }
    QPushButton *restoreButton() const { return m_restore; }
    QPushButton *exportButton() const { return m_export; }
    QLabel *statusLine() const { return m_status; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillAxes();
    void showTimeline();
    void showSelection();
    std::optional<AxisKey> chosenAxis() const;

    HistoryServices m_s;
    QComboBox *m_axes;
    QComboBox *m_kinds;
    HistoryTimeline *m_timeline;
    QTableView *m_view;
    QTableWidget *m_values;
    QLabel *m_details;
    QPushButton *m_restore;
    QPushButton *m_export;
    QLabel *m_status;
    std::vector<AxisKey> m_axisKeys; // per item of m_axes; the last item is every axis
};

} // namespace kdx
