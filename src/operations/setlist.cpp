#include "setlist.h"

namespace kdx {

QString SetList::currentText() const
{
    return m_current >= 0 && m_current < count() ? m_rows.at(m_current) : QString();
}

void SetList::setRows(const QStringList &rows, int current)
{
    m_rows = rows;
    m_current = current;
    emit rowsChanged();
}

void SetList::setCurrent(int row)
{
    m_current = row;
    emit currentChanged(row);
}

QString SetList::take(int row)
{
    const QString text = m_rows.takeAt(row);
    // The row that moves into the place of the taken one is current now,
    // as a list makes it.
    if (m_current >= count())
        m_current = count() - 1;
    emit rowsChanged();
    return text;
}

void SetList::insert(int row, const QString &text)
{
    m_rows.insert(row, text);
    emit rowsChanged();
}

} // namespace kdx
