#pragma once

#include <QString>

namespace kdx {

class Form1;
class Prompter;

// The parameter set file: lists it, appends a set with a comment, writes the
// list back.
class ParamSetStore {
public:
    static constexpr const char *kFileName = "KDXparam.txt";

    ParamSetStore(Form1 &form, Prompter &prompter, const QString &folder)
        : m_form(form), m_prompter(prompter), m_folder(folder)
    {
    }

    QString folder() const { return m_folder; }

    // Refresh the list from the file, creating a missing file.
    void Command29_Click();
    // Store the parameter values with a comment as one new line.
    void Command37_Click();
    // Write the list back to the file.
    void Command38_Click();

private:
    Form1 &m_form;
    Prompter &m_prompter;
    QString m_folder;
};

} // namespace kdx
