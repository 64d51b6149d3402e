// Loading a parameter set from a row of KDXparam.txt, whatever the row holds.
#include "core/paramline.h"
#include "core/windows1250.h"
#include "fuzzcheck.h"

#include <QStringList>

#include <cstdint>

using namespace kdx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Every byte is one character, so keys and near-keys are easy to reach.
    const QString row =
        windows1250::decode(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    // Each cut is the text between its key and the next one, at their places.
    const std::optional<ParamValues> values = loadParamLine(row);
    bool all = true;
    for (int k = 0; k < kParamCount; ++k) {
        const std::optional<QString> cut = cutParamValue(row, k);
        const std::optional<QString> loaded = loadParamValue(row, k);
        check(cut.has_value() == loaded.has_value());
        all = all && loaded.has_value();
        if (!cut)
            continue;
        const qsizetype start = keyPosition(row, k) - 1 + paramKey(k).size();
        check(keyPosition(row, k) > 0 && keyPosition(row, k + 1) > 0);
        check(row.mid(start, cut->size()) == *cut);
        check(start + cut->size() == keyPosition(row, k + 1) - 1);
        check(*loaded == *cut || *loaded + u',' == *cut);
        if (values)
            check((*values)[k] == *loaded);
    }
    check(values.has_value() == all);

    // The row split at 0x1F gives a comment and up to eight values: a line
    // composed of them loads the same values again unless one holds a key.
    const QStringList parts = row.split(QChar(0x1F));
    const QString comment = parts.value(0);
    ParamValues stored;
    bool storable = !containsParamKey(comment);
    for (int k = 0; k < kParamCount; ++k) {
        stored[k] = parts.value(k + 1);
        storable = storable && !containsParamKey(stored[k]);
    }
    const QString line = composeParamLine(comment, stored);
    QString pieces = paramLineOpening(comment);
    for (int k = 0; k < kParamCount; ++k)
        pieces += paramLinePiece(k, stored[k]);
    check(pieces == line);
    if (storable) {
        const std::optional<ParamValues> back = loadParamLine(line);
        check(back.has_value() && *back == stored);
    }
    return 0;
}
