#include "portcatalogue.h"

#include "plant.h"
#include "serialportopener.h"
#include "simulatedopener.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace kdx {

namespace {

QString fullPath(const QString &device)
{
#ifdef Q_OS_UNIX
    if (!device.isEmpty() && !device.startsWith(u'/'))
        return QStringLiteral("/dev/") + device;
#endif
    return device;
}

bool looksLikeUsb(const QSerialPortInfo &info)
{
    // udev names the vendor of a USB device; without udev the kernel's
    // names for USB serial drivers still tell.
    const QString name = info.portName();
    return info.hasVendorIdentifier() || name.startsWith(QLatin1String("ttyUSB")) ||
           name.startsWith(QLatin1String("ttyACM"));
}

// Names in the order people count: a run of digits compares as a number,
// so that ttyS2 comes before ttyS10 in every locale.
bool namedBefore(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype si = i, sj = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            const QStringView na = QStringView(a).sliced(si, i - si);
            const QStringView nb = QStringView(b).sliced(sj, j - sj);
            const auto digits = [](QStringView n) {
                while (n.size() > 1 && n.front() == u'0')
                    n = n.sliced(1);
                return n;
            };
            const QStringView da = digits(na), db = digits(nb);
            if (da.size() != db.size())
                return da.size() < db.size();
            if (const int c = da.compare(db); c != 0)
                return c < 0;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

std::vector<PortInfo> PortCatalogue::ports() const
{
    std::vector<PortInfo> found = scan();
    std::stable_sort(found.begin(), found.end(), [](const PortInfo &a, const PortInfo &b) {
        if (a.usb != b.usb)
            return a.usb;
        return namedBefore(a.device, b.device);
    });
    return found;
}

std::vector<PortInfo> SystemPortCatalogue::scan() const
{
    std::vector<PortInfo> found;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        const QString device = info.portName();
#else
        const QString device = info.systemLocation();
#endif
        found.push_back({device, info.description(), info.manufacturer(), info.serialNumber(),
                         looksLikeUsb(info)});
    }
    return found;
}

bool samePort(const QString &a, const QString &b)
{
    return fullPath(a) == fullPath(b);
}

QString deviceOf(const PortChoice &choice)
{
    return choice.name.isEmpty() ? SerialPortOpener::defaultPortName() : choice.name;
}

bool sameLine(const PortChoice &a, const PortChoice &b)
{
    if (a.kind != b.kind)
        return false;
    return a.isSimulator() ? a.name == b.name : samePort(deviceOf(a), deviceOf(b));
}

std::unique_ptr<PortOpener> openerFor(const PortChoice &choice)
{
    if (choice.isSimulator()) {
        const std::optional<sim::Plant> plant = sim::plantFor(choice.name);
        return std::make_unique<SimulatedOpener>(plant.value_or(sim::Plant()));
    }
    return std::make_unique<SerialPortOpener>(choice.name);
}

} // namespace kdx
