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
// catches up at most once per screen frame, drawing every segment it has
// not drawn yet, so the picture is the same as if each had been drawn at
// once.
class MonitorView : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameMs = 16;

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

    MonitorModel &m_model;
    Parts m_parts;
    QTimer m_frame;
};

} // namespace kdx
