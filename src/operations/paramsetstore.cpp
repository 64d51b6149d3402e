#include "paramsetstore.h"

#include "core/paramline.h"
#include "core/paramtable.h"
#include "core/utf8.h"
#include "paramrows.h"
#include "prompter.h"
#include "values.h"

namespace kdx {

namespace {

// A reason from the system, in brackets, when there is one.
QString because(const QString &reason)
{
    return reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QStringLiteral(")");
}

QString missingValueMessage(int n)
{
    return ParamSetStore::tr("Nincs se új se kiolvasott %1 paraméter , mentés így nem lehetséges. "
                             "Adj meg értéket.")
        .arg(utf8(param(n).fileName));
}

QString unstorableValueMessage(int n)
{
    return ParamSetStore::tr("A %1 (%2) paraméter értéke nem menthető a KDXparam.txt filébe, mert "
                             "sorvéget, nem tárolható karaktert vagy a paramétersor jelölését "
                             "(P0: ... P7:, <end>) tartalmazza.")
        .arg(commandWord(n), utf8(param(n).fileName));
}

} // namespace

void ParamSetStore::message(const QString &text)
{
    m_prompter.message(text);
}

void ParamSetStore::refreshList()
{
    // Emptying the list is no selection by the operator.
    m_list.setRows({});
    const ParamFile::ReadResult read = m_file.read();
    switch (read.status) {
    case ParamFile::ReadResult::Status::Missing:
        message(tr("%1 file nem elérhető . Létrehozom .").arg(m_file.path()));
        if (!m_file.create())
            message(tr("A KDXparam.txt file nem hozható létre") + because(m_file.errorString()) +
                    QStringLiteral("."));
        break;
    case ParamFile::ReadResult::Status::Failed:
        message(tr("A KDXparam.txt file nem olvasható") + because(read.error) +
                tr(". A paraméterlista üres marad."));
        break;
    case ParamFile::ReadResult::Status::Read:
        m_list.setRows(read.rows);
        break;
    }
}

void ParamSetStore::storeCurrentSet()
{
    m_line.clear();
    const QString comment =
        m_prompter.input(tr("Adj kommentet a paraméterlista azonosításához.")).value_or(QString());
    if (comment.isEmpty()) {
        message(tr("Nincs komment vagy paramétersor mentés elvetés."));
        return;
    }
    if (!isStorableText(comment)) {
        message(tr("A komment olyan karaktert tartalmaz, amely nem menthető a KDXparam.txt "
                   "filébe."));
        return;
    }
    if (containsParamKey(comment)) {
        message(tr("A komment nem tartalmazhatja a paramétersor jelöléseit (P0: ... P7:, "
                   "<end>), mert a paramétersor így nem lenne betölthető."));
        return;
    }

    QString line = paramLineOpening(comment);
    m_line = line;
    for (int n = 0; n < kParamCount; ++n) {
        QString value = m_rows.newValue(n).text();
        if (value.isEmpty())
            value = m_rows.current(n).text();
        if (value.isEmpty()) {
            message(missingValueMessage(n));
            return;
        }
        if (!isStorableText(value) || containsParamKey(value)) {
            message(unstorableValueMessage(n));
            return;
        }
        line += paramLinePiece(n, value);
        m_line = line;
    }

    if (!m_file.append(line)) {
        message(tr("A paramétersor mentése a KDXparam.txt filébe nem sikerült") +
                because(m_file.errorString()) + tr(". A file változatlan maradt."));
        return;
    }
    refreshList();
}

bool ParamSetStore::rewriteList()
{
    const QStringList rows = m_list.rows();
    const bool written = m_file.rewrite(rows);
    m_busy.set(false);
    if (!written) {
        message(tr("A KDXparam.txt file újraírása nem sikerült") + because(m_file.errorString()) +
                tr(". A file változatlan maradt."));
        return false;
    }
    // The last row written stays selected. The operator did not pick it,
    // so it is not checked for being empty.
    if (!rows.isEmpty())
        m_list.setCurrent(m_list.count() - 1);
    return true;
}

} // namespace kdx
