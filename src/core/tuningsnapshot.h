#pragma once

#include "core/tuningaxis.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kdx {

// The parameters as the tuner found them, kept in a file beside the
// parameter file while a tuning may have left other values in force, so
// that a program that was killed half-way can offer them back at the next
// start.
inline constexpr const char *kTuningSnapshotFileName = "KDXtuning-snapshot.txt";

QByteArray snapshotText(const ParamNumbers &p);
// Every value outside its parameter's range, in the operator's words
// ("P0 = 0 (megengedett: 10-1000)"); empty when all of them pass.
QString rangeProblems(const ParamNumbers &p, const ParamRanges &ranges);
bool inRanges(const ParamNumbers &p, const ParamRanges &ranges);
// Nothing when the text is not a whole snapshot.
std::optional<ParamNumbers> parseSnapshot(const QByteArray &text);

class TuningSnapshotFile {
public:
    explicit TuningSnapshotFile(const QString &folder);
    QString path() const { return m_path; }
    // False when it could not be written.
    bool save(const ParamNumbers &p) const;
    std::optional<ParamNumbers> load() const;
    bool exists() const;
    void remove() const;

private:
    QString m_path;
};

} // namespace kdx
