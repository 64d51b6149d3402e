#pragma once

#include <QString>
#include <QStringList>

namespace kdx {

// The marks serial programs on Linux leave on a port they hold, honoured and
// left by this program too:
// - a UUCP lock file LCK..<name> in the lock folder holding the holder's PID
//   (as text, ten characters right-aligned and a newline, or as 4 binary
//   bytes from a few old tools; Qt programs write the PID on the first line);
// - an exclusive flock(2) on the device.
// A lock file of a live process other than this one, or a flock held
// elsewhere, means the port is in use. A lock file whose process is gone is
// removed. Lock files are named as QSerialPort names its own: the device
// path below /dev with each '/' as '_' (LCK..ttyUSB0, LCK..pts_3).
//
// Elsewhere (Windows) ports are exclusive already and nothing is done here.
class PortLock {
public:
    static constexpr const char *kDefaultFolder = "/run/lock";

    PortLock() = default;
    ~PortLock() { release(); }
    PortLock(const PortLock &) = delete;
    PortLock &operator=(const PortLock &) = delete;

    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }

    enum class Claim {
        Free,   // nobody else holds it: the flock is taken, the port may be opened
        InUse,  // another program holds it
        Unknown // the device cannot be opened here; opening it will say why
    };
    // Checks the marks of other programs and takes the flock. Releases
    // whatever this lock held before.
    Claim claim(const QString &devicePath);
    // Once the port is open: makes sure a lock file names this program.
    // False when none can be written in the folder.
    bool markHeld();
    // Lets go of the flock and of the lock files this program wrote.
    void release();

    // The lock file names for a device path, by QSerialPort's rule; a second
    // one for the device the path leads to when it is a link.
    static QStringList fileNames(const QString &devicePath);

private:
    QString m_folder = QString::fromLatin1(kDefaultFolder);
    QString m_device;
    QStringList m_written; // lock files this program wrote
    int m_fd = -1;         // holds the flock
};

} // namespace kdx
