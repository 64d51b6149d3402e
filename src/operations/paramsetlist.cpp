#include "paramsetlist.h"

#include "core/paramline.h"
#include "core/paramtable.h"
#include "operations/prompter.h"
#include "paramsetstore.h"
#include "widgets/form1.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include <memory>

namespace kdx {

namespace {

QString tr8(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

int ParamSetList::pickedRow() const
{
    const QListWidgetItem *item = m_form.List1->currentItem();
    return item && item->isSelected() ? m_form.List1->row(item) : -1;
}

QString ParamSetList::selectedRow() const
{
    const int row = pickedRow();
    return row < 0 ? QString() : m_form.List1->item(row)->text();
}

void ParamSetList::Command36_Click()
{
    const QString row = selectedRow();
    for (int k = 0; k < kParamCount; ++k) {
        const std::optional<QString> value = loadParamValue(row, k);
        if (!value) {
            for (int n = 0; n < kParamCount; ++n)
                m_form.row(n).newValue->clear();
            m_prompter.message(tr8("Hibás vagy nem teljes motor paraméter sor .") +
                                   QStringLiteral("\n\r\n\r") +
                                   tr8("Válassz a listából! ( Klikkelj a listából egy sorra , "
                                       "majd betöltés gomb . )"),
                               tr8("Hibás paramétersor betöltés"));
            return;
        }
        m_form.row(k).newValue->setText(*value);
    }
    for (int n = 0; n < kParamCount; ++n) {
        QLineEdit *box = m_form.row(n).newValue;
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, QApplication::palette(box).color(QPalette::Base));
        box->setPalette(palette);
    }
}

void ParamSetList::List1_Click()
{
    // Only a row the operator has picked is checked; the list losing its
    // selection is not an empty row.
    if (pickedRow() >= 0 && selectedRow().isEmpty())
        m_prompter.message(tr8("Üres paramétersor nem betölthető."));
}

void ParamSetList::List1_DblClick()
{
    Command36_Click();
}

void ParamSetList::Command30_Click()
{
    if (!m_prompter.question(tr8("Biztos, hogy töröljem a paramétersort ?"), tr8("Törlés"))) {
        m_form.setMousePointer(Form1::Pointer::Default);
        return;
    }
    m_form.setMousePointer(Form1::Pointer::Hourglass);
    QListWidget *list = m_form.List1;
    const int selected = pickedRow();
    if (list->count() == 0) {
        m_prompter.message(tr8("Nincs törölhető paraméterlista."));
    } else if (selected < 0) {
        m_prompter.message(tr8("Válassz törlendő paramétersort."));
    } else {
        std::unique_ptr<QListWidgetItem> removed;
        {
            // The row that moves into the selection was not picked by the
            // operator: no empty-row check for it.
            const QSignalBlocker quiet(list);
            removed.reset(list->takeItem(selected));
        }
        // The file follows the list, also when the last row goes. When the
        // file cannot be written the row comes back, so that the list still
        // shows what the file holds.
        const bool written = m_store.rewriteList();
        const QSignalBlocker quiet(list);
        if (written) {
            // The rows that moved up were not picked by the operator.
            list->setCurrentRow(-1);
        } else {
            list->insertItem(selected, removed.release());
            list->setCurrentRow(selected);
        }
    }
    m_form.setMousePointer(Form1::Pointer::Default);
}

void ParamSetList::Command40_Click()
{
    m_form.Frame3->hide();
    m_form.Frame4->show();
}

void ParamSetList::Command41_Click()
{
    m_form.Frame4->hide();
    m_form.Frame3->show();
}

} // namespace kdx
