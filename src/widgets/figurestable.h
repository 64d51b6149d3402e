#pragma once

#include <QTableWidget>

#include <vector>

namespace kdx {

class CaptureStore;

// The figures of every kept capture, one row each, and below the captures
// of a run of pairs a row with their mean and spread. The first column
// shows and hides a capture.
class FiguresTable : public QTableWidget {
    Q_OBJECT
public:
    enum Column {
        Run,
        PeakError,
        Overshoot,
        TimeToPeak,
        RiseTime,
        SettlingTime,
        Band,
        SteadyState,
        Iae,
        Itae,
        Oscillations,
        SampleRate,
        Params,
        ColumnCount
    };

    FiguresTable(CaptureStore &store, QWidget *parent = nullptr);

    // The capture in a row; -1 for a row of means.
    int entryOfRow(int row) const;
    int rowOfEntry(int entry) const;
    // The capture of the current row, or -1.
    int currentEntry() const;

private:
    void rebuild();

    CaptureStore &m_store;
    std::vector<int> m_rowEntry;
    bool m_building = false;
};

} // namespace kdx
