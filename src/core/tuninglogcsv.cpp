#include "tuninglogcsv.h"

namespace kdx {

namespace {
QByteArray number(double v, int decimals)
{
    return QByteArray::number(v, 'f', decimals);
}
} // namespace

QByteArray tuningLogToCsv(const std::vector<CandidateEntry> &log)
{
    QByteArray csv = "index,stage,P1,P2,P3,P4,P7,itae_ms2,overshoot_pct,settling_ms,peak_counts,"
                     "settled,steps,best\n";
    for (const CandidateEntry &e : log) {
        QByteArray stage = e.stage.toUtf8();
        stage.replace('"', "\"\"");
        const GainFigures &f = e.figures;
        csv += QByteArray::number(e.index) + ",\"" + stage + "\"," +
               QByteArray::number(e.params[1]) + ',' + QByteArray::number(e.params[2]) + ',' +
               QByteArray::number(e.params[3]) + ',' + QByteArray::number(e.params[4]) + ',' +
               QByteArray::number(e.params[7]) + ',' + number(f.itae, 1) + ',' +
               number(f.overshootPct, 2) + ',' + number(f.settlingMs, 1) + ',' +
               number(f.peakCounts, 1) + ',' + (f.settles ? "1" : "0") + ',' +
               QByteArray::number(f.steps) + ',' + (e.best ? "1" : "0") + '\n';
    }
    return csv;
}

} // namespace kdx
