#pragma once

#include "core/capture.h"
#include "core/stepfigures.h"

#include <QObject>

#include <vector>

namespace kdx {

// The step responses of the session, with their figures, kept while the
// program runs (the workbench window may close and open again). Each has a
// colour slot of its own among kColours while it is kept, may be shown or
// hidden, and one of them may be the reference the others are judged by.
class CaptureStore : public QObject {
    Q_OBJECT
public:
    static constexpr int kColours = 8;

    struct Entry {
        Capture capture;
        StepFigures figures;
        bool visible = true;
        bool imported = false; // loaded from a file
        int colour = 0;        // 0..kColours-1
        int group = 0;         // captures of one run of K pairs share a group (0: none)
    };

    using QObject::QObject;

    // Adds a capture at the end; returns its index. A capture taken here
    // (not imported) is of the axis named last.
    int add(const Capture &capture, bool imported = false, int group = 0);
    // The axis the operator works on now ("3. gép, X tengely").
    void setAxisName(const QString &name) { m_axisName = name; }
    // A new group number for the captures of one run of pairs.
    int newGroup() { return ++m_lastGroup; }
    void remove(int index);
    void setVisible(int index, bool visible);
    // -1: no reference.
    void setReference(int index);
    int reference() const { return m_reference; }

    const std::vector<Entry> &entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    const Entry &at(int index) const { return m_entries.at(std::size_t(index)); }

    // The direction of the next single step: each goes opposite to the one before.
    int nextDirection()
    {
        m_direction = -m_direction;
        return m_direction;
    }

    // Mean and spread of the figures of one group.
    FigureSpread groupSpread(int group) const;

signals:
    void changed();
    // A capture was added (after changed()).
    void added(int index);

private:
    int freeColour() const;

    std::vector<Entry> m_entries;
    int m_reference = -1;
    int m_lastGroup = 0;
    int m_direction = -1; // the first step goes forwards
    QString m_axisName;
};

} // namespace kdx
