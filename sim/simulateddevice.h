#pragma once

#include "simulatedline.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <QTimer>

namespace kdx::sim {

// A simulated KDX controller behind an in-process serial line, for use where
// the terminal would otherwise open a QSerialPort.
//
//   auto *device = new kdx::sim::SimulatedDevice(parent);
//   device->open(QIODevice::ReadWrite);
//
// gives a controller at 38400 baud with 1 ms adapter latency that runs in
// real time while the device is open (simulated time stands still while it is
// closed; the controller keeps its state across close and open). Whatever is
// written goes to the controller at once; its answers become readable, with
// readyRead(), when the line timing says they arrive.
//
// For tests, choose the timing and the clock:
//
//   SimulatedDevice device(LineTiming::instant(), SimulatedDevice::Clock::Manual);
//
// answers each line as soon as it is written (readable before write()
// returns; readyRead() follows from the event loop), and simulated time moves
// only through advanceTime(), so a run is repeatable to the bit. A Manual
// clock with real LineTiming delivers answers during advanceTime().
class SimulatedDevice : public QIODevice {
    Q_OBJECT
public:
    enum class Clock { Wall, Manual };

    // Unread answers are kept up to this size; more is lost as in an overrun.
    static constexpr qsizetype MaxReadBuffer = 1 << 20;

    explicit SimulatedDevice(QObject *parent = nullptr);
    SimulatedDevice(const LineTiming &timing, Clock clock, QObject *parent = nullptr,
                    const LineFaults &faults = {});
    ~SimulatedDevice() override;

    bool isSequential() const override { return true; }
    bool open(OpenMode mode) override;
    void close() override;
    qint64 bytesAvailable() const override;
    bool waitForReadyRead(int msecs) override;
    bool waitForBytesWritten(int) override { return isOpen(); }

    // Manual clock only: lets simulated time pass, running the axis and
    // delivering the answers that fall due.
    void advanceTime(qint64 ms);
    qint64 simulatedTimeNs() const;

    Firmware &firmware() { return m_line.firmware(); }
    const Firmware &firmware() const { return m_line.firmware(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    // Moves the answers due by now into the read buffer; true if any came.
    bool collectDue();
    void scheduleDelivery();
    void announceReadyRead();

    SimulatedLine m_line;
    Clock m_clock;
    QElapsedTimer m_wall;
    qint64 m_baseNs = 0; // simulated time when the wall clock was last started
    QTimer m_deliveryTimer;
    QByteArray m_readBuffer;
    bool m_readyReadQueued = false;
};

} // namespace kdx::sim
