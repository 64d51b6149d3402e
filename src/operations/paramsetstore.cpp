#include "paramsetstore.h"

#include "core/paramline.h"
#include "core/paramtable.h"
#include "operations/prompter.h"
#include "widgets/form1.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace kdx {

namespace {

QString tr8(const char *text)
{
    return QString::fromUtf8(text);
}

// A reason from the system, in brackets, when there is one.
QString because(const QString &reason)
{
    return reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QStringLiteral(")");
}

QString missingValueMessage(int n)
{
    return tr8("Nincs se új se kiolvasott ") + tr8(param(n).fileName) +
           tr8(" paraméter , mentés így nem lehetséges. Adj meg értéket.");
}

QString unstorableValueMessage(int n)
{
    return tr8("A ") + commandWord(n) + QStringLiteral(" (") + tr8(param(n).fileName) +
           tr8(") paraméter értéke nem menthető a KDXparam.txt filébe, mert sorvéget, nem "
               "tárolható karaktert vagy a paramétersor jelölését (P0: ... P7:, <end>) "
               "tartalmazza.");
}

} // namespace

void ParamSetStore::message(const QString &text)
{
    m_prompter.message(text);
}

void ParamSetStore::Command29_Click()
{
    QListWidget *list = m_form.List1;
    {
        // Emptying the list is no selection by the operator.
        const QSignalBlocker quiet(list);
        list->clear();
    }
    const ParamFile::ReadResult read = m_file.read();
    switch (read.status) {
    case ParamFile::ReadResult::Status::Missing:
        message(m_file.path() + tr8(" file nem elérhető . Létrehozom ."));
        if (!m_file.create())
            message(tr8("A KDXparam.txt file nem hozható létre") + because(m_file.errorString()) +
                    QStringLiteral("."));
        break;
    case ParamFile::ReadResult::Status::Failed:
        message(tr8("A KDXparam.txt file nem olvasható") + because(read.error) +
                tr8(". A paraméterlista üres marad."));
        break;
    case ParamFile::ReadResult::Status::Read: {
        const QSignalBlocker quiet(list);
        list->addItems(read.rows);
        list->setCurrentRow(-1);
        break;
    }
    }
    list->update();
}

void ParamSetStore::Command37_Click()
{
    m_form.txtelkuld->clear();
    const QString comment =
        m_prompter.input(tr8("Adj kommentet a paraméterlista azonosításához.")).value_or(QString());
    if (comment.isEmpty()) {
        message(tr8("Nincs komment vagy paramétersor mentés elvetés."));
        return;
    }
    if (!isStorableText(comment)) {
        message(tr8("A komment olyan karaktert tartalmaz, amely nem menthető a KDXparam.txt "
                    "filébe."));
        return;
    }
    if (containsParamKey(comment)) {
        message(tr8("A komment nem tartalmazhatja a paramétersor jelöléseit (P0: ... P7:, "
                    "<end>), mert a paramétersor így nem lenne betölthető."));
        return;
    }

    // The line grows in the work box as it is composed; the composed text,
    // not the box (whose length is limited), is what gets written.
    QString line = paramLineOpening(comment);
    m_form.txtelkuld->setText(line);
    for (int n = 0; n < kParamCount; ++n) {
        const ParamRow row = m_form.row(n);
        QString value = row.newValue->text();
        if (value.isEmpty())
            value = row.current->text();
        if (value.isEmpty()) {
            message(missingValueMessage(n));
            return;
        }
        if (!isStorableText(value) || containsParamKey(value)) {
            message(unstorableValueMessage(n));
            return;
        }
        line += paramLinePiece(n, value);
        m_form.txtelkuld->setText(line);
    }

    if (!m_file.append(line)) {
        message(tr8("A paramétersor mentése a KDXparam.txt filébe nem sikerült") +
                because(m_file.errorString()) + tr8(". A file változatlan maradt."));
        return;
    }
    Command29_Click();
}

bool ParamSetStore::rewriteList()
{
    QListWidget *list = m_form.List1;
    QStringList rows;
    rows.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();

    const bool written = m_file.rewrite(rows);
    m_form.setMousePointer(Form1::Pointer::Default);
    if (!written) {
        message(tr8("A KDXparam.txt file újraírása nem sikerült") + because(m_file.errorString()) +
                tr8(". A file változatlan maradt."));
        return false;
    }
    // The last row written stays selected. The operator did not pick it,
    // so it is not checked for being empty.
    if (!rows.isEmpty()) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(list->count() - 1);
    }
    return true;
}

} // namespace kdx
