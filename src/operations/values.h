#pragma once

#include <QObject>
#include <QString>

#include <algorithm>

namespace kdx {

// The values the operator sets and sees, owned by the operations and shown
// by the window. Each announces a real change (setting the value it already
// has announces nothing), whether the operator or the program made it; the
// window follows every change and passes the operator's own back in.

// An on/off switch that can also be made unavailable to the operator.
class Switch : public QObject {
    Q_OBJECT
public:
    explicit Switch(bool on = false) : m_on(on) {}
    bool isOn() const { return m_on; }
    void set(bool on);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

signals:
    void changed(bool on);
    void enabledChanged(bool enabled);

private:
    bool m_on;
    bool m_enabled = true;
};

// A text the operator types and the program checks or fills in.
class Text : public QObject {
    Q_OBJECT
public:
    explicit Text(const QString &text = QString()) : m_text(text) {}
    const QString &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    void set(const QString &text);
    void clear() { set(QString()); }

signals:
    void changed(const QString &text);

private:
    QString m_text;
};

// A whole number within limits, as a scrollbar dials it.
class Dial : public QObject {
    Q_OBJECT
public:
    Dial(int minimum, int maximum, int value)
        : m_min(minimum), m_max(maximum), m_value(std::clamp(value, minimum, maximum))
    {
    }
    int value() const { return m_value; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // Values outside the limits are taken as the nearest limit.
    void set(int value);

signals:
    void changed(int value);

private:
    int m_min, m_max, m_value;
};

// Options of which at most one is selected: selecting one clears the others,
// and the program may also leave none selected.
class Choice : public QObject {
    Q_OBJECT
public:
    static constexpr int kNone = -1;
    explicit Choice(int selected = kNone) : m_selected(selected) {}
    int selected() const { return m_selected; }
    bool isSelected(int option) const { return m_selected == option; }
    void select(int option);
    void deselect(int option);

signals:
    void changed(int selected);

private:
    int m_selected;
};

} // namespace kdx
