#pragma once

#include "core/portchoice.h"

#include <QString>

#include <memory>
#include <vector>

namespace kdx {

class PortOpener;

// A serial port present on this machine, as the system describes it.
struct PortInfo {
    QString device; // what the port is opened by: "/dev/ttyUSB0", "COM5"
    QString description;
    QString manufacturer;
    QString serialNumber;
    bool usb = false; // a USB adapter (most controllers hang on one)
};

// The serial ports present. ports() lists USB adapters first, then the
// others, each group in the order of their names (ttyS2 before ttyS10).
class PortCatalogue {
public:
    virtual ~PortCatalogue() = default;
    std::vector<PortInfo> ports() const;

protected:
    virtual std::vector<PortInfo> scan() const = 0;
};

// What the system reports (QSerialPortInfo).
class SystemPortCatalogue : public PortCatalogue {
protected:
    std::vector<PortInfo> scan() const override;
};

// "ttyUSB0" and "/dev/ttyUSB0" name the same port on Unix.
bool samePort(const QString &a, const QString &b);
// Whether two choices mean the same line: the same port however it is
// named (an empty name is the first port), or the same simulated axis.
bool sameLine(const PortChoice &a, const PortChoice &b);
// The serial device of a serial choice ("ttyS0" for the first port).
QString deviceOf(const PortChoice &choice);

// The simulated axis a simulator choice without a name drives.
inline constexpr const char *kDefaultPlant = "nominal";

// The line for a choice: a serial port at 38400 8N1, or the built-in
// simulated controller with the named axis (an unknown name gets the default).
std::unique_ptr<PortOpener> openerFor(const PortChoice &choice);

} // namespace kdx
