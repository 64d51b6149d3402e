#pragma once

#include "familyjudge.h"
#include "plant.h"

#include <QString>

#include <map>
#include <optional>

namespace kdx::family {

// The best gains an offline search finds on an axis for an aim: the lowest
// ITAE (the mean over the tuning step forward and back) among the gains that
// meet the aim and settle at ½×, 1× and 2× the tuning step (judgeGains(),
// Judgement::meets() without slack). P2 1..5000, P3 1..1000, P7 1..1000.
struct Reference {
    bool found = false; // false: no gains tried meet the aim (the axis is not sound for it)
    Gains gains;
    Judgement judgement; // of those gains
    int judged = 0;      // gain sets judged
};

// A coarse grid (P2 and P7 by factors of √2, P3 by 2 from its lowest 1),
// the best three of it refined by a pattern search (each gain, and P2 with
// P7 together, by 2^(1/2), 2^(1/4), 2^(1/8)). Judging stops at the first
// step that breaks the aim or does not settle, and once the ITAE cannot
// beat the third best: 5500 gain sets in one to a few seconds of one core.
Reference findReference(const sim::Plant &plant, double aimPct, int stepSteps);

// Changes whenever findReference() would find other gains on the same axis.
constexpr int SearchVersion = 1;

// References of the family's axes kept in a text file between runs, one a
// line, keyed by the family's version, the search's, the seed, the aim and
// the step. An entry is trusted only when judging its gains again gives the
// ITAE it was stored with, bit for bit: a change to the axis model or to
// the judge makes every entry stale by itself.
class ReferenceCache {
public:
    explicit ReferenceCache(QString path);

    // The cached reference, re-judged, or a fresh search (then stored).
    Reference reference(quint64 seed, double aimPct, int stepSteps);
    // How many references came from the file, how many were searched.
    int hits() const { return m_hits; }
    int searched() const { return m_searched; }

private:
    struct Entry {
        bool found = false;
        Gains gains;
        double itae = 0; // of the gains, or of the factory gains when none found
    };
    void load();
    void append(const QString &key, const Entry &entry);

    QString m_path;
    std::map<QString, Entry> m_entries;
    int m_hits = 0;
    int m_searched = 0;
};

} // namespace kdx::family
