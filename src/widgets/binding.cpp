#include "binding.h"

#include "operations/setlist.h"
#include "operations/values.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace kdx {

void bind(QAbstractButton *box, Switch &value)
{
    box->setChecked(value.isOn());
    box->setEnabled(value.isEnabled());
    QObject::connect(box, &QAbstractButton::toggled, &value, [&value](bool on) { value.set(on); });
    QObject::connect(&value, &Switch::changed, box,
                     [box, &value] { box->setChecked(value.isOn()); });
    QObject::connect(&value, &Switch::enabledChanged, box, &QWidget::setEnabled);
}

void bind(QLineEdit *box, Text &value)
{
    box->setText(value.text());
    QObject::connect(box, &QLineEdit::textChanged, &value,
                     [&value](const QString &text) { value.set(text); });
    QObject::connect(&value, &Text::changed, box, [box, &value] {
        if (box->text() != value.text())
            box->setText(value.text());
    });
}

void bind(QComboBox *combo, Text &value)
{
    combo->setEditText(value.text());
    // Typing is announced before the text change: the typed text is in the
    // value by the time a handler of the typing runs.
    const auto take = [combo, &value] { value.set(combo->currentText()); };
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, &value, take);
    QObject::connect(combo, &QComboBox::editTextChanged, &value, take);
    QObject::connect(&value, &Text::changed, combo, [combo, &value] {
        if (combo->currentText() != value.text())
            combo->setEditText(value.text());
    });
}

void bind(QScrollBar *bar, Dial &value)
{
    bar->setRange(value.minimum(), value.maximum());
    bar->setValue(value.value());
    QObject::connect(bar, &QScrollBar::valueChanged, &value, [&value](int v) { value.set(v); });
    QObject::connect(&value, &Dial::changed, bar, [bar, &value] { bar->setValue(value.value()); });
}

void bind(const QList<QRadioButton *> &buttons, Choice &value)
{
    const auto show = [buttons, &value] {
        for (int k = 0; k < buttons.size(); ++k)
            buttons[k]->setChecked(value.isSelected(k));
    };
    show();
    QObject::connect(&value, &Choice::changed, buttons[0], show);
}

void bind(QListWidget *list, SetList &value)
{
    const auto showRows = [list, &value] {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(value.rows());
        list->setCurrentRow(value.current());
        if (value.current() < 0)
            list->clearSelection();
    };
    showRows();
    // A row counts as picked while it is current and shows selected: the
    // focus entering the list makes a row current without selecting it,
    // which is no pick.
    const auto takePick = [list, &value] {
        const QListWidgetItem *item = list->currentItem();
        value.pick(item && item->isSelected() ? list->row(item) : -1);
    };
    QObject::connect(list, &QListWidget::currentRowChanged, &value, takePick);
    QObject::connect(list, &QListWidget::itemSelectionChanged, &value, takePick);
    QObject::connect(&value, &SetList::rowsChanged, list, showRows);
    QObject::connect(&value, &SetList::currentChanged, list, [list](int row) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(row);
        if (row < 0)
            list->clearSelection();
    });
}

} // namespace kdx
