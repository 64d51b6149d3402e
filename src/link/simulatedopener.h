#pragma once

#include "portopener.h"

#include <memory>

namespace kdx::sim {
class SimulatedDevice;
}

namespace kdx {

// The line to a simulated controller inside this program: no serial
// hardware, the same command set and reply timing as a real one at 38400 baud.
class SimulatedOpener : public PortOpener {
public:
    SimulatedOpener();
    ~SimulatedOpener() override;

    QIODevice *device() override;
    OpenResult open() override;
    QString displayName() const override { return QStringLiteral("szimulátor"); }

    sim::SimulatedDevice &simulated() { return *m_device; }

private:
    std::unique_ptr<sim::SimulatedDevice> m_device;
};

} // namespace kdx
