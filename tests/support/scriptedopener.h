#pragma once

#include "link/portopener.h"
#include "scripteddevice.h"

#include <deque>

// Hands the terminal a scripted device; the outcomes of the open attempts
// can be queued (by default every attempt succeeds).
class ScriptedOpener : public kdx::PortOpener {
public:
    QIODevice *device() override { return &m_device; }
    kdx::OpenResult open() override;
    QString displayName() const override { return name; }

    ScriptedDevice &scripted() { return m_device; }

    std::deque<kdx::OpenResult> outcomes;
    int attempts = 0;
    QString name = QStringLiteral("COM1");

private:
    ScriptedDevice m_device;
};
