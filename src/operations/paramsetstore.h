#pragma once

#include "core/paramfile.h"
#include "setlist.h"

#include <QCoreApplication>
#include <QString>

namespace kdx {

class ParamRows;
class Prompter;
class Switch;

// The parameter set file: lists it, appends a set with a comment, writes the
// list back.
class ParamSetStore {
    Q_DECLARE_TR_FUNCTIONS(ParamSetStore)

public:
    static constexpr const char *kFileName = ParamFile::kFileName;

    ParamSetStore(ParamRows &rows, Prompter &prompter, Switch &busyPointer, const QString &folder)
        : m_rows(rows), m_prompter(prompter), m_busy(busyPointer), m_file(folder)
    {
    }

    QString folder() const { return m_file.folder(); }
    ParamFile &file() { return m_file; }
    SetList &list() { return m_list; }
    // The line being composed by the last storeCurrentSet().
    const QString &composedLine() const { return m_line; }

    // Refresh the list from the file, creating a missing file.
    void refreshList();
    // Store the parameter values with a comment as one new line.
    void storeCurrentSet();

    // Writes every row of the list back and selects the last one. When the
    // file cannot be replaced the operator is told, the old file stays
    // whole and false is returned.
    bool rewriteList();

private:
    void message(const QString &text);

    ParamRows &m_rows;
    Prompter &m_prompter;
    Switch &m_busy;
    ParamFile m_file;
    SetList m_list;
    QString m_line;
};

} // namespace kdx
