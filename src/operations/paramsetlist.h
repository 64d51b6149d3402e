#pragma once

#include <QString>

namespace kdx {

class Form1;
class ParamSetStore;
class Prompter;

// The operator's work on the list of stored sets: load a set into the new
// values, delete one, and switch the lower half of the window between the
// list and the monitor.
class ParamSetList {
public:
    ParamSetList(Form1 &form, Prompter &prompter, ParamSetStore &store)
        : m_form(form), m_prompter(prompter), m_store(store)
    {
    }

    void Command36_Click(); // load into new values
    void List1_Click();     // empty-row check on selection
    void List1_DblClick();  // load, as the button does
    void Command30_Click(); // delete
    void Command40_Click(); // show the monitor
    void Command41_Click(); // show the list

private:
    // The row the operator has picked: the current row while it shows
    // selected. Qt makes a row current without selecting it when the focus
    // enters the list; that is no pick. -1 when none is picked.
    int pickedRow() const;
    // The text of the picked row; empty when no row is picked.
    QString selectedRow() const;

    Form1 &m_form;
    Prompter &m_prompter;
    ParamSetStore &m_store;
};

} // namespace kdx
