#include "serialportopener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kdx {

namespace {

// Where the device lives in the file system, or empty where ports are not files.
QString devicePath(const QSerialPort &port)
{
#ifdef Q_OS_UNIX
    const QString name = port.portName();
    return name.startsWith(u'/') ? name : QStringLiteral("/dev/") + name;
#else
    Q_UNUSED(port);
    return QString();
#endif
}

bool mayReadAndWrite(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(path);
    return true;
#endif
}

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(SerialPortOpener)
};

QString noPermission()
{
#ifdef Q_OS_LINUX
    // Serial devices belong to the dialout group on Linux.
    return Texts::tr("nincs jogosultság a port használatához (dialout csoporttagság kell)");
#else
    return Texts::tr("nincs jogosultság a port használatához");
#endif
}

} // namespace

QString SerialPortOpener::defaultPortName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM1");
#else
    return QStringLiteral("ttyS0");
#endif
}

SerialPortOpener::SerialPortOpener(const QString &portName)
{
    // Closed by this program or lost: the marks go with the port.
    QObject::connect(&m_port, &QIODevice::aboutToClose, &m_port, [this] { m_lock.release(); });
    if (portName.isEmpty()) {
        m_port.setPortName(defaultPortName());
        m_displayName = QStringLiteral("COM1");
    } else {
        m_port.setPortName(portName);
        m_displayName = portName;
    }
}

OpenResult SerialPortOpener::open()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.setBaudRate(QSerialPort::Baud38400);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(kReceiveBufferBytes);

    const QString path = devicePath(m_port);
    if (m_lock.claim(path) == PortLock::Claim::InUse)
        return {OpenResult::Status::InUse, QString()};
    if (m_port.open(QIODevice::ReadWrite)) {
        // Whatever the driver still holds from before this opening belongs
        // to no command of ours.
        m_port.clear(QSerialPort::AllDirections);
        // Without a lock file only programs that use flock see that the
        // port is taken: said once.
        if (!m_lock.markHeld() && !m_lockNoteSaid) {
            m_lockNoteSaid = true;
            m_openingNote = Texts::tr("a zárolási mappa (%1) nem írható, a port zárolófájl "
                                      "nélkül nyílt meg")
                                .arg(QDir::toNativeSeparators(m_lock.folder()));
        }
        return {OpenResult::Status::Open, QString()};
    }
    m_lock.release();

    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return {OpenResult::Status::Failed, Texts::tr("a port nem található")};
    case QSerialPort::PermissionError:
        // The same error stands for "held by another program" and for "not
        // allowed"; the file itself tells them apart.
        if (!path.isEmpty() && !QFileInfo::exists(path))
            return {OpenResult::Status::Failed, Texts::tr("a port nem található")};
        if (!path.isEmpty() && !mayReadAndWrite(path))
            return {OpenResult::Status::Failed, noPermission()};
        return {OpenResult::Status::InUse, QString()};
    default:
        return {OpenResult::Status::Failed,
                Texts::tr("a port nem nyitható meg (%1)").arg(m_port.errorString())};
    }
}

} // namespace kdx
