#include "plant.h"

#include "splitmix.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kdx::sim {

namespace {

Plant light()
{
    Plant p;
    p.timeConstant = 5; // a quarter of the inertia
    p.friction = p.breakaway = 3;
    return p;
}

Plant heavy()
{
    Plant p;
    p.timeConstant = 100; // five times the inertia
    p.friction = p.breakaway = 8;
    return p;
}

Plant sticky()
{
    Plant p;
    p.friction = 12;
    p.breakaway = 40;
    return p;
}

Plant laggy()
{
    Plant p;
    p.delayMs = 4;
    return p;
}

struct Named {
    const char *name;
    Plant plant;
    SuggestedGains gains;
};

const std::array<Named, 5> &plants()
{
    static const std::array<Named, 5> all{{{"light", light(), {300, 5, 20}},
                                           {"nominal", Plant(), {600, 10, 80}},
                                           {"heavy", heavy(), {600, 5, 250}},
                                           {"sticky", sticky(), {600, 20, 80}},
                                           {"laggy", laggy(), {100, 0, 50}}}};
    return all;
}

// The family's own random numbers (splitmix64), so that a seed draws the same
// axis with every compiler and library (the standard distributions do not
// promise that).
class Draw {
public:
    explicit Draw(quint64 seed) : m_state(seed) {}

    quint64 next() { return splitmix64(m_state); }
    double uniform() { return unitInterval(m_state); } // 0 <= u < 1
    double between(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double logBetween(double lo, double hi) { return lo * std::exp(uniform() * std::log(hi / lo)); }
    bool chance(double p) { return uniform() < p; }

private:
    quint64 m_state;
};

// Drawn quantities are kept to a few digits, so that an axis is written out
// exactly and a last-digit difference in a library's exp() cannot change it.
double kept(double v, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

// 0 .. most, each value ratio times as likely as the one before, from a
// uniform number u.
int geometric(double u, double ratio, int most)
{
    double total = 0;
    for (int k = 0; k <= most; ++k)
        total += std::pow(ratio, k);
    double below = 0;
    for (int k = 0; k < most; ++k) {
        below += std::pow(ratio, k) / total;
        if (u < below)
            return k;
    }
    return most;
}

const Named *find(const QString &name)
{
    for (const Named &named : plants()) {
        if (name == QLatin1String(named.name))
            return &named;
    }
    return nullptr;
}

} // namespace

QStringList plantNames()
{
    QStringList names;
    for (const Named &named : plants())
        names << QString::fromLatin1(named.name);
    return names;
}

std::optional<Plant> namedPlant(const QString &name)
{
    const Named *named = find(name);
    return named ? std::optional(named->plant) : std::nullopt;
}

Plant randomPlant(quint64 seed)
{
    // Every quantity is drawn, used or not, in this order: the same seed
    // gives the same value of each whatever the others decide.
    Draw draw(seed);
    const double inertia = draw.logBetween(0.2, 10);
    const double viscous = draw.logBetween(0.7, 1.4);
    const double breakaway = draw.logBetween(2, 77);
    const double frictionShare = draw.between(0.5, 1);
    // Short delays and lags are common, long ones rare: each ms of delay
    // is 0.45 times as likely as one less (a geometric law cut at 6 ms);
    // the lag is 0.3 ms · (4 / 0.3)^(u³).
    const int delay = geometric(draw.uniform(), 0.45, 6);
    const double lu = draw.uniform();
    const double lag = 0.3 * std::pow(4 / 0.3, lu * lu * lu);
    const double noise = draw.uniform();
    const quint64 noiseSeed = draw.next();
    const bool resonant = draw.chance(1.0 / 3);
    const double resonanceHz = draw.logBetween(20, 300);
    const double damping = draw.logBetween(0.02, 0.1);
    const bool loose = draw.chance(1.0 / 3);
    const double backlash = draw.between(1, 20);
    const double loadShare = draw.between(0.2, 0.8);
    const bool loaded = draw.chance(1.0 / 3);
    const double loadSize = draw.between(13, 64); // two statements: the order of the draws is fixed
    const double load = draw.chance(0.5) ? loadSize : -loadSize;
    const double pScale = draw.logBetween(0.1, 10);
    const double iScale = draw.logBetween(0.1, 10);
    const double dScale = draw.logBetween(0.1, 10);
    const bool onMeasurement = draw.chance(0.5);
    const bool filtered = draw.chance(0.5);
    const double filterMs = draw.between(1, 4);
    const double integralLimit = draw.between(0.3, 1);

    Plant p;
    p.timeConstant = kept(20 * inertia / viscous, 2);
    p.noLoadSpeed = kept(100 / viscous, 1);
    p.breakaway = int(std::lround(breakaway));
    p.friction = std::max(1, int(std::lround(breakaway * frictionShare)));
    p.delayMs = delay;
    p.windingLagMs = kept(lag, 2);
    p.encoderNoise = kept(noise, 2);
    p.noiseSeed = noiseSeed;
    if (resonant || loose)
        p.loadShare = kept(loadShare, 2);
    if (resonant) {
        p.resonanceHz = kept(resonanceHz, 1);
        p.resonanceDamping = kept(damping, 3);
    }
    if (loose)
        p.backlashCounts = kept(backlash, 1);
    if (loaded)
        p.loadDuty = kept(load, 1);
    p.pScale = kept(pScale, 3);
    p.iScale = kept(iScale, 3);
    p.dScale = kept(dScale, 3);
    p.derivativeOnMeasurement = onMeasurement;
    p.derivativeFilterMs = filtered ? kept(filterMs, 2) : 0;
    p.integralLimit = kept(integralLimit, 2);
    return p;
}

std::optional<Plant> plantFor(const QString &name)
{
    static const QLatin1String prefix("random:");
    if (!name.startsWith(prefix))
        return namedPlant(name);
    const QStringView digits = QStringView(name).mid(prefix.size());
    const bool digitsOnly =
        !digits.isEmpty() &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool ok = false;
    const quint64 seed = digits.toULongLong(&ok, 10);
    return digitsOnly && ok ? std::optional(randomPlant(seed)) : std::nullopt;
}

QString plantChoices()
{
    return plantNames().join(QStringLiteral(", ")) + QStringLiteral(" or random:SEED");
}

QString describePlant(const Plant &p)
{
    const Plant nominal;
    QStringList parts;
    parts << QStringLiteral("time constant %1 ms, %2 counts/ms at full duty")
                 .arg(p.timeConstant)
                 .arg(p.noLoadSpeed);
    parts << QStringLiteral("friction %1, breakaway %2").arg(p.friction).arg(p.breakaway);
    if (p.delayMs != nominal.delayMs)
        parts << QStringLiteral("delay %1 ms").arg(p.delayMs);
    if (p.windingLagMs > 0)
        parts << QStringLiteral("winding lag %1 ms").arg(p.windingLagMs);
    if (p.loadShare > 0) {
        QString load = QStringLiteral("load %1 % of the inertia").arg(p.loadShare * 100);
        if (p.resonanceHz > 0)
            load += QStringLiteral(", resonance %1 Hz (damping %2)")
                        .arg(p.resonanceHz)
                        .arg(p.resonanceDamping);
        if (p.backlashCounts > 0)
            load += QStringLiteral(", backlash %1 counts").arg(p.backlashCounts);
        parts << load;
    }
    if (p.loadDuty != 0)
        parts << QStringLiteral("constant load %1 duty").arg(p.loadDuty);
    if (p.encoderNoise > 0)
        parts << QStringLiteral("encoder noise %1 counts").arg(p.encoderNoise);
    if (p.gainScale != 1)
        parts << QStringLiteral("gain scale %1").arg(p.gainScale);
    if (p.pScale != 1 || p.iScale != 1 || p.dScale != 1)
        parts << QStringLiteral("P x%1, I x%2, D x%3").arg(p.pScale).arg(p.iScale).arg(p.dScale);
    if (p.derivativeOnMeasurement)
        parts << QStringLiteral("D on the measurement");
    if (p.derivativeFilterMs > 0)
        parts << QStringLiteral("D filtered %1 ms").arg(p.derivativeFilterMs);
    if (p.integralLimit != 1)
        parts << QStringLiteral("I term at most %1 of full duty").arg(p.integralLimit);
    return parts.join(QStringLiteral("; "));
}

std::optional<SuggestedGains> suggestedGains(const QString &name)
{
    const Named *named = find(name);
    return named ? std::optional(named->gains) : std::nullopt;
}

} // namespace kdx::sim
