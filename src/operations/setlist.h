#pragma once

#include <QObject>
#include <QStringList>

namespace kdx {

// The stored sets as the list shows them, and the picked row (-1: none): the
// one the operator selected, or the one the program put the selection on.
// A row that only became current (the focus entering the list) is no pick.
class SetList : public QObject {
    Q_OBJECT
public:
    const QStringList &rows() const { return m_rows; }
    int count() const { return int(m_rows.size()); }
    int current() const { return m_current; }
    // The text of the picked row; empty when none is picked.
    QString currentText() const;

    void setRows(const QStringList &rows, int current = -1);
    void setCurrent(int row);
    QString take(int row);
    void insert(int row, const QString &text);
    // The operator picked a row in the list (nothing is announced back).
    void pick(int row) { m_current = row; }

signals:
    void rowsChanged();
    void currentChanged(int row);

private:
    QStringList m_rows;
    int m_current = -1;
};

} // namespace kdx
