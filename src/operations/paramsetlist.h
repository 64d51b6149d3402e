#pragma once

#include <QCoreApplication>
#include <QString>

namespace kdx {

class ParamRows;
class ParamSetStore;
class Prompter;
class Switch;

// The operator's work on the list of stored sets: load a set into the new
// values, delete one.
class ParamSetList {
    Q_DECLARE_TR_FUNCTIONS(ParamSetList)

public:
    ParamSetList(ParamRows &rows, Prompter &prompter, ParamSetStore &store, Switch &busyPointer)
        : m_rows(rows), m_prompter(prompter), m_store(store), m_busy(busyPointer)
    {
    }

    // Loads the picked set into the new values.
    void loadPicked();
    // The operator picked a row: an empty one cannot be loaded.
    void checkPickedRow();
    // Deletes the picked set, from the list and from the file.
    void deletePicked();

private:
    ParamRows &m_rows;
    Prompter &m_prompter;
    ParamSetStore &m_store;
    Switch &m_busy;
};

} // namespace kdx
