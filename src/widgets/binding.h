#pragma once

#include <QList>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QScrollBar;

namespace kdx {

class Choice;
class Dial;
class SetList;
class Switch;
class Text;

// Ties a control to the value it shows: the control follows every change of
// the value, and the operator's changes go into the value before anything
// else hears of them.
void bind(QAbstractButton *box, Switch &value);
void bind(QLineEdit *box, Text &value);
void bind(QComboBox *combo, Text &value);
void bind(QScrollBar *bar, Dial &value);
// Option k of the choice is buttons[k]; the operator cannot set them.
void bind(const QList<QRadioButton *> &buttons, Choice &value);
// The list shows the rows; the operator's pick goes into the list's pick.
void bind(QListWidget *list, SetList &value);

} // namespace kdx
