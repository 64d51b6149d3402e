#include "plant.h"

#include <array>

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

std::optional<SuggestedGains> suggestedGains(const QString &name)
{
    const Named *named = find(name);
    return named ? std::optional(named->gains) : std::nullopt;
}

} // namespace kdx::sim
