#pragma once

#include "link/portcatalogue.h"

// Ports that a test says are present, in the order it gives them.
class FakePortCatalogue : public kdx::PortCatalogue {
public:
    std::vector<kdx::PortInfo> present;

protected:
    std::vector<kdx::PortInfo> scan() const override { return present; }
};
