#include "referencesearch.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace kdx::family {

namespace {

constexpr Gains kLowest{1, 1, 1};
constexpr Gains kHighest{5000, 1000, 1000};
// P2 and P7 by √2 (P3 by 2): the gains that meet an aim on an axis with
// delay and friction often lie in a narrow valley that a grid of doublings
// steps over.
constexpr double kGridStep = 1.4142135623730951;
constexpr size_t kLeaders = 3;       // grid points refined
constexpr int kMovesPerLeader = 400; // a bound on the pattern search, never reached in practice
constexpr double kNoBudget = std::numeric_limits<double>::infinity();

// lo, lo·factor, lo·factor², … (whole numbers, each above the one before), and hi.
std::vector<int> ladder(int lo, int hi, double factor)
{
    std::vector<int> values;
    for (double v = lo; v < hi; v *= factor) {
        const int n = int(std::lround(v));
        if (values.empty() || n > values.back())
            values.push_back(n);
    }
    values.push_back(hi);
    return values;
}

// One gain moved up or down by a factor, by at least one unit, within its range.
int moved(int value, double factor, int lo, int hi)
{
    int next = int(std::lround(value * factor));
    if (factor > 1)
        next = std::max(next, value + 1);
    else
        next = std::min(next, value - 1);
    return std::clamp(next, lo, hi);
}

class Search {
public:
    Search(const sim::Plant &plant, double aimPct, int stepSteps)
        : m_plant(plant), m_aimPct(aimPct), m_stepSteps(stepSteps)
    {
    }

    // The ITAE of gains that meet the aim, if below the budget; nothing when
    // they do not meet it or cannot beat the budget.
    std::optional<double> score(const Gains &g, double budget)
    {
        auto known = m_seen.find(g);
        if (known != m_seen.end()) {
            const Seen &s = known->second;
            if (s.meets)
                return s.itae < budget ? std::optional(s.itae) : std::nullopt;
            if (s.fails || s.budget >= budget)
                return std::nullopt;
        }
        ++m_judged;
        JudgeLimits limits;
        limits.stopBeyondAimPct = m_aimPct;
        limits.itaeBudget = budget;
        const Judgement j = judgeGains(m_plant, g, m_stepSteps, limits);
        Seen s;
        if (j.complete && j.meets(m_aimPct)) {
            s.meets = true;
            s.itae = j.itae;
        } else if (j.complete || !pairOverBudget(j, budget)) {
            s.fails = true;
        }
        s.budget = budget;
        m_seen[g] = s;
        if (!s.meets || !(s.itae < budget))
            return std::nullopt;
        return s.itae;
    }

    int judged() const { return m_judged; }

private:
    struct Seen {
        bool meets = false; // and itae is its ITAE
        bool fails = false; // breaks the aim or does not settle, whatever the budget
        double itae = 0;
        double budget = 0; // cut short at this budget
    };

    // Whether a judgement was cut short by the ITAE budget rather than by a
    // fault: the tuning step's pair had not been described in full.
    static bool pairOverBudget(const Judgement &j, double budget)
    {
        return std::isfinite(budget) && (!j.steps[OneForward].valid || !j.steps[OneBack].valid);
    }

    const sim::Plant &m_plant;
    double m_aimPct;
    int m_stepSteps;
    std::map<Gains, Seen> m_seen;
    int m_judged = 0;
};

struct Scored {
    Gains gains;
    double itae = 0;
};

Scored refine(Search &search, Scored best)
{
    enum Which { P, I, D, PD };
    const std::array<std::pair<Which, double>, 8> directions{
        {{P, 1}, {P, -1}, {I, 1}, {I, -1}, {D, 1}, {D, -1}, {PD, 1}, {PD, -1}}};
    int moves = 0;
    for (double step : {std::sqrt(2.0), std::pow(2.0, 0.25), std::pow(2.0, 0.125)}) {
        for (bool improved = true; improved && moves < kMovesPerLeader;) {
            improved = false;
            for (const auto &[which, sense] : directions) {
                const double factor = sense > 0 ? step : 1 / step;
                Gains g = best.gains;
                if (which == P || which == PD)
                    g.p = moved(g.p, factor, kLowest.p, kHighest.p);
                if (which == I)
                    g.i = moved(g.i, factor, kLowest.i, kHighest.i);
                if (which == D || which == PD)
                    g.d = moved(g.d, factor, kLowest.d, kHighest.d);
                if (g == best.gains)
                    continue;
                ++moves;
                if (const auto itae = search.score(g, best.itae)) {
                    best = {g, *itae};
                    improved = true;
                }
            }
        }
    }
    return best;
}

} // namespace

Reference findReference(const sim::Plant &plant, double aimPct, int stepSteps)
{
    Search search(plant, aimPct, stepSteps);
    // The grid: the few best that meet the aim, lowest ITAE first.
    std::vector<Scored> leaders;
    for (int p : ladder(kLowest.p, kHighest.p, kGridStep)) {
        for (int i : ladder(kLowest.i, kHighest.i, 2)) {
            for (int d : ladder(kLowest.d, kHighest.d, kGridStep)) {
                const double budget = leaders.size() < kLeaders ? kNoBudget : leaders.back().itae;
                const Gains g{p, i, d};
                if (const auto itae = search.score(g, budget)) {
                    leaders.push_back({g, *itae});
                    std::sort(leaders.begin(), leaders.end(),
                              [](const Scored &a, const Scored &b) { return a.itae < b.itae; });
                    if (leaders.size() > kLeaders)
                        leaders.pop_back();
                }
            }
        }
    }
    Reference ref;
    if (!leaders.empty()) {
        Scored best = leaders.front();
        for (const Scored &leader : leaders) {
            const Scored refined = refine(search, leader);
            if (refined.itae < best.itae)
                best = refined;
        }
        ref.found = true;
        ref.gains = best.gains;
        ref.judgement = judgeGains(plant, best.gains, stepSteps);
    }
    ref.judged = search.judged();
    return ref;
}

namespace {

QString cacheKey(quint64 seed, double aimPct, int stepSteps)
{
    return QStringLiteral("family%1-search%2 %3 %4 %5")
        .arg(sim::FamilyVersion)
        .arg(SearchVersion)
        .arg(seed)
        .arg(aimPct)
        .arg(stepSteps);
}

QString exact(double v)
{
    return QString::number(v, 'g', 17);
}

} // namespace

ReferenceCache::ReferenceCache(QString path) : m_path(std::move(path))
{
    load();
}

void ReferenceCache::load()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(u'\t');
        if (parts.size() != 6)
            continue;
        Entry e;
        bool ok[5] = {};
        e.found = parts[1].toInt(&ok[0]) != 0;
        e.gains = {parts[2].toInt(&ok[1]), parts[3].toInt(&ok[2]), parts[4].toInt(&ok[3])};
        e.itae = parts[5].toDouble(&ok[4]);
        if (std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }))
            m_entries[parts[0]] = e; // a later line replaces an earlier one
    }
}

void ReferenceCache::append(const QString &key, const Entry &e)
{
    m_entries[key] = e;
    QFile file(m_path);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return; // kept for this run only
    QTextStream out(&file);
    out << key << '\t' << int(e.found) << '\t' << e.gains.p << '\t' << e.gains.i << '\t'
        << e.gains.d << '\t' << exact(e.itae) << '\n';
}

Reference ReferenceCache::reference(quint64 seed, double aimPct, int stepSteps)
{
    const sim::Plant plant = sim::randomPlant(seed);
    const QString key = cacheKey(seed, aimPct, stepSteps);
    const auto cached = m_entries.find(key);
    if (cached != m_entries.end()) {
        const Entry &e = cached->second;
        Reference ref;
        ref.found = e.found;
        ref.gains = e.found ? e.gains : Gains{};
        ref.judgement = judgeGains(plant, ref.gains, stepSteps);
        if (exact(ref.judgement.itae) == exact(e.itae) &&
            (!e.found || ref.judgement.meets(aimPct))) {
            ++m_hits;
            if (!e.found)
                ref.judgement = {};
            return ref;
        }
    }
    ++m_searched;
    Reference ref = findReference(plant, aimPct, stepSteps);
    Entry e;
    e.found = ref.found;
    e.gains = ref.gains;
    e.itae = ref.found ? ref.judgement.itae : judgeGains(plant, Gains{}, stepSteps).itae;
    append(key, e);
    return ref;
}

} // namespace kdx::family
