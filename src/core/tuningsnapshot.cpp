#include "tuningsnapshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringList>

namespace kdx {

namespace {

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(TuningSnapshot)
};
const char *const kHeader = "# kdxterminal: parameters before auto-tuning (P0..P7)";
} // namespace

QByteArray snapshotText(const ParamNumbers &p)
{
    QByteArray text = QByteArray(kHeader) + '\n';
    for (int n = 0; n < 8; ++n)
        text += 'P' + QByteArray::number(n) + '=' + QByteArray::number(p[n]) + '\n';
    return text;
}

QString rangeProblems(const ParamNumbers &p, const ParamRanges &ranges)
{
    QStringList wrong;
    for (int n = 0; n < 8; ++n) {
        const auto [lo, hi] = ranges[n];
        if (p[n] < lo || p[n] > hi)
            wrong << Texts::tr("P%1 = %2 (megengedett: %3-%4)").arg(n).arg(p[n]).arg(lo).arg(hi);
    }
    return wrong.join(QStringLiteral(", "));
}

bool inRanges(const ParamNumbers &p, const ParamRanges &ranges)
{
    return rangeProblems(p, ranges).isEmpty();
}

std::optional<ParamNumbers> parseSnapshot(const QByteArray &text)
{
    ParamNumbers p{};
    std::array<bool, 8> seen{};
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.size() < 4 || line[0] != 'P' || line[2] != '=')
            return std::nullopt;
        const int n = line[1] - '0';
        bool ok = false;
        const int value = line.mid(3).toInt(&ok);
        if (n < 0 || n > 7 || !ok || seen[n])
            return std::nullopt;
        p[n] = value;
        seen[n] = true;
    }
    for (bool s : seen) {
        if (!s)
            return std::nullopt;
    }
    return p;
}

TuningSnapshotFile::TuningSnapshotFile(const QString &folder)
    : m_path(QDir(folder).filePath(QString::fromUtf8(kTuningSnapshotFileName)))
{
}

bool TuningSnapshotFile::save(const ParamNumbers &p) const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(snapshotText(p));
    return file.commit();
}

std::optional<ParamNumbers> TuningSnapshotFile::load() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseSnapshot(file.read(64 * 1024));
}

bool TuningSnapshotFile::exists() const
{
    return QFile::exists(m_path);
}

void TuningSnapshotFile::remove() const
{
    QFile::remove(m_path);
}

} // namespace kdx
