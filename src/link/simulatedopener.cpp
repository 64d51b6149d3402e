#include "simulatedopener.h"

#include "simulateddevice.h"

#include <QCoreApplication>

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

QString SimulatedOpener::shownPortName(const QString &portName)
{
    return portName == QString::fromUtf8(kPortName)
               ? QCoreApplication::translate("SimulatedOpener", kPortName)
               : portName;
}

OpenResult SimulatedOpener::open()
{
    if (m_device->isOpen())
        m_device->close();
    if (m_device->open(QIODevice::ReadWrite))
        return {OpenResult::Status::Open, QString()};
    return {OpenResult::Status::Failed,
            QCoreApplication::translate("SimulatedOpener", "a szimulátor nem indítható")};
}

} // namespace kdx
