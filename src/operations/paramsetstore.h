#pragma once

#include "core/paramfile.h"

#include <QString>

namespace kdx {

class Form1;
class Prompter;

// The parameter set file: lists it, appends a set with a comment, writes the
// list back.
class ParamSetStore {
public:
    static constexpr const char *kFileName = ParamFile::kFileName;

    ParamSetStore(Form1 &form, Prompter &prompter, const QString &folder)
        : m_form(form), m_prompter(prompter), m_file(folder)
    {
    }

    QString folder() const { return m_file.folder(); }
    ParamFile &file() { return m_file; }

    // Refresh the list from the file, creating a missing file.
    void Command29_Click();
    // Store the parameter values with a comment as one new line.
    void Command37_Click();
    // Write the list back to the file.
    void Command38_Click() { rewriteList(); }

    // Writes every row of the list back and selects the last one. When the
    // file cannot be replaced the operator is told, the old file stays
    // whole and false is returned.
    bool rewriteList();

private:
    void message(const QString &text);

    Form1 &m_form;
    Prompter &m_prompter;
    ParamFile m_file;
};

} // namespace kdx
