#pragma once

#include <QObject>
#include <QTimer>

class QLabel;
class QLineEdit;

namespace kdx {

class MonitorModel;
class Text;
class TraceSurface;

// Shows the monitor model: the current and the largest error, the axis
// captions and the trace. Readings come in at the poll rate; the view
// catches up on the trace at most once per screen frame, drawing every
// segment it has not drawn yet, so the picture is the same as if each had
// been drawn at once. The two numbers follow at a pace the eye can read.
class MonitorView : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameMs = 16;
    static constexpr int kNumbersMs = 100;

    struct Parts {
        QLineEdit *error;   // current error
        QLineEdit *largest; // largest error
        QLabel *top;        // "+scale"
        QLabel *bottom;     // "-scale"
        TraceSurface *trace;
    };
    MonitorView(MonitorModel &model, Text &axisScale, const Parts &parts);

    // Shows what has changed now, without waiting for the next frame.
    void refresh();

private:
    void changed();
    void showNumbers();
    void drawTrace();

    MonitorModel &m_model;
    Parts m_parts;
    QTimer m_frame;
    QTimer m_numbers;
};

} // namespace kdx
