#pragma once

#include <QList>
#include <QObject>

class QRadioButton;

namespace kdx {

// Option buttons of which at most one is selected: selecting one clears the
// others, and code may also leave none selected (which an exclusive
// QButtonGroup does not allow).
class OptionGroup : public QObject {
    Q_OBJECT
public:
    explicit OptionGroup(QObject *parent = nullptr) : QObject(parent) {}

    void add(QRadioButton *button);
    void select(QRadioButton *button);
    void deselect(QRadioButton *button);
    QRadioButton *selected() const;

private:
    QList<QRadioButton *> m_buttons;
};

} // namespace kdx
