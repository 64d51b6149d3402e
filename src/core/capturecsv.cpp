#include "capturecsv.h"

#include <QList>

namespace kdx {

// Stand-in until the shared CSV lands: only what the workbench needs to run.
QByteArray captureToCsv(const Capture &c)
{
    QByteArray out = "# step " + QByteArray::number(c.steps) + "\n";
    for (int i = 0; i < 8; ++i)
        out += "# P" + QByteArray::number(i) + " " + QByteArray::number(c.params[i]) + "\n";
    out += "time_ms,error_counts\n";
    for (std::size_t i = 0; i < c.record.tMs.size(); ++i)
        out += QByteArray::number(c.record.tMs[i], 'f', 3) + ',' +
               QByteArray::number(c.record.error[i]) + '\n';
    return out;
}

QByteArray capturesToCsv(const std::vector<Capture> &cs)
{
    QByteArray out;
    for (const Capture &c : cs)
        out += captureToCsv(c);
    return out;
}

CsvResult capturesFromCsv(const QByteArray &bytes)
{
    CsvResult result;
    const QList<QByteArray> lines = bytes.split('\n');
    bool inData = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith('#')) {
            if (inData || result.captures.empty()) {
                result.captures.emplace_back();
                inData = false;
            }
            const QList<QByteArray> w = line.mid(1).trimmed().split(' ');
            if (w.size() == 2 && w[0] == "step")
                result.captures.back().steps = w[1].toInt();
            continue;
        }
        if (line == "time_ms,error_counts") {
            inData = true;
            continue;
        }
        const QList<QByteArray> f = line.split(',');
        bool okT = false, okE = false;
        const double t = f.value(0).toDouble(&okT);
        const double e = f.value(1).toDouble(&okE);
        if (!inData || f.size() != 2 || !okT || !okE) {
            return {{}, QStringLiteral("hibás sor"), i + 1};
        }
        result.captures.back().record.tMs.push_back(t);
        result.captures.back().record.error.push_back(e);
    }
    return result;
}

} // namespace kdx
