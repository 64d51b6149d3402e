#pragma once

#include "filebytes.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>

// The parameter file and the window's parameter boxes of a fixture.
inline QString paramPath(const TerminalFixture &fx)
{
    return QDir(fx.folder()).filePath(QStringLiteral("KDXparam.txt"));
}

inline QStringList listRows(kdx::Form1 &f)
{
    QStringList rows;
    for (int i = 0; i < f.List1->count(); ++i)
        rows << f.List1->item(i)->text();
    return rows;
}

inline QStringList newValues(kdx::Form1 &f)
{
    QStringList values;
    for (int n = 0; n < 8; ++n)
        values << f.row(n).newValue->text();
    return values;
}

// Puts the file in place and lists it, as start-up does.
inline void listFile(TerminalFixture &fx, const QByteArray &bytes)
{
    putFile(paramPath(fx), bytes);
    fx.run([&] { fx.terminal().store().refreshList(); });
}
