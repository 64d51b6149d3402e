#include "simulatedopener.h"

#include "simulateddevice.h"

namespace kdx {

SimulatedOpener::SimulatedOpener(const sim::Plant &plant)
    : m_device(std::make_unique<sim::SimulatedDevice>())
{
    m_device->firmware().setPlant(plant);
}

SimulatedOpener::~SimulatedOpener() = default;

QIODevice *SimulatedOpener::device()
{
    return m_device.get();
}

OpenResult SimulatedOpener::open()
{
    if (m_device->isOpen())
        m_device->close();
    if (m_device->open(QIODevice::ReadWrite))
        return {OpenResult::Status::Open, QString()};
    return {OpenResult::Status::Failed, QStringLiteral("a szimulátor nem indítható")};
}

} // namespace kdx
