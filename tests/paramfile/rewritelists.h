#pragma once

#include "core/paramline.h"
#include "core/windows1250.h"

#include <QStringList>

// The two parameter set lists that the rewriter program writes in turn, and
// the exact bytes KDXparam.txt holds after each.
inline QStringList rewriteList(int which)
{
    const int rows = which == 0 ? 300 : 450;
    QStringList list;
    for (int i = 0; i < rows; ++i) {
        kdx::ParamValues values;
        for (int k = 0; k < kdx::kParamCount; ++k)
            values[k] = QString::number((which + 1) * 1000 + i * 8 + k);
        list << kdx::composeParamLine(
            QStringLiteral("%1. lista, %2. sor, őrző").arg(which == 0 ? u'A' : u'B').arg(i + 1),
            values);
    }
    return list;
}

inline QByteArray rewriteListBytes(int which)
{
    QByteArray bytes;
    for (const QString &row : rewriteList(which))
        bytes += *kdx::windows1250::encode(row) + "\r\n";
    return bytes;
}
