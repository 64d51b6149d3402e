#pragma once

#include "core/paramtable.h"
#include "values.h"

#include <QObject>

#include <array>
#include <memory>

namespace kdx {

// The eight parameter rows as the operations see them: the value the
// controller reported, the new value to send and the scrollbar that dials
// it, each row set up from the parameter table.
class ParamRows : public QObject {
    Q_OBJECT
public:
    ParamRows();

    Text &current(int n) { return *m_rows.at(std::size_t(n)).current; }
    Text &newValue(int n) { return *m_rows.at(std::size_t(n)).newValue; }
    Dial &dial(int n) { return *m_rows.at(std::size_t(n)).dial; }

    // The dial of row n moved: its position becomes the new value (one way
    // only: typing a new value leaves the dial alone).
    void dialMoved(int n);
    // Empties every current and every new value.
    void clearAll();
    void clearNewValues();
    // The operator is asked to type the new value of row n.
    void askForNewValue(int n) { emit focusNewValue(n); }
    void announceLoaded() { emit newValuesLoaded(); }

signals:
    // The operator is to type the new value of row n.
    void focusNewValue(int n);
    // A stored set has been loaded into the new values.
    void newValuesLoaded();

private:
    struct Row {
        std::unique_ptr<Text> current, newValue;
        std::unique_ptr<Dial> dial;
    };
    std::array<Row, kParamCount> m_rows;
};

} // namespace kdx
