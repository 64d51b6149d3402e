#include "plant.h"

#include <array>
#include <utility>

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

const std::array<std::pair<const char *, Plant>, 5> &plants()
{
    static const std::array<std::pair<const char *, Plant>, 5> all{{{"light", light()},
                                                                    {"nominal", Plant()},
                                                                    {"heavy", heavy()},
                                                                    {"sticky", sticky()},
                                                                    {"laggy", laggy()}}};
    return all;
}

} // namespace

QStringList plantNames()
{
    QStringList names;
    for (const auto &[name, plant] : plants())
        names << QString::fromLatin1(name);
    return names;
}

std::optional<Plant> namedPlant(const QString &name)
{
    for (const auto &[known, plant] : plants()) {
        if (name == QLatin1String(known))
            return plant;
    }
    return std::nullopt;
}

} // namespace kdx::sim
