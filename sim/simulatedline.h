#pragma once

#include "firmware.h"
#include "lineassembler.h"
#include "linetiming.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <deque>
#include <functional>

namespace kdx::sim {

// Ways to make the controller misbehave on purpose.
struct LineFaults {
    qint64 silentAfter = -1; // answer only this many lines (-1: all)
    double garbageRate = 0;  // chance of a random byte after each byte sent
    int garbageByte = -1;    // the byte garbage is made of (-1: random bytes)
    bool mangled = false;    // answers lose every blank and colon
    quint32 seed = 1;        // makes the garbage repeatable
};

// The controller at the far end of a serial line, independent of how bytes
// reach it: what the terminal sends goes in with the time it was sent, and the
// answers come out at the times the line timing gives. Used both in-process
// (SimulatedDevice) and behind a pseudo-terminal (kdxsim).
class SimulatedLine {
public:
    // Answers not yet collected are kept up to this size; beyond it the
    // controller's output is lost, as in an overrun UART.
    static constexpr qsizetype MaxPendingBytes = 1 << 20;

    explicit SimulatedLine(const LineTiming &timing = {}, const LineFaults &faults = {});

    // Bytes the terminal sent at nowNs. Every completed line is handled when
    // its last byte arrives, after the axis has been run up to that moment.
    void receive(qint64 nowNs, QByteArrayView bytes);
    // The earliest time an answer becomes due, or -1 when none is pending.
    qint64 nextDeliveryNs() const;
    // The answers due by nowNs, oldest first.
    QByteArray takeDue(qint64 nowNs);
    // Drops pending answers and idles the line (the port was closed); the
    // controller keeps its state.
    void discardPending();
    // Runs the axis up to nowNs without any line arriving.
    void advanceTo(qint64 nowNs) { m_firmware.advanceTo(nowNs); }

    qint64 linesReceived() const { return m_lines; }

    // The faults from the next line on; silentAfter still counts from the
    // first line. The garbage goes on from where the random sequence is.
    void setFaults(const LineFaults &faults) { m_faults = faults; }
    const LineFaults &faults() const { return m_faults; }
    // Noise of the given size: random bytes, or all garbageByte when that is
    // set. Comes from the same random sequence as the garbage.
    QByteArray noise(qsizetype size);

    // Told about every line received, when it has arrived: its text without
    // the CR, or overlong for a line too long to keep.
    using LineObserver = std::function<void(qint64 arrivalNs, QByteArrayView line, bool overlong)>;
    void setLineObserver(LineObserver observer) { m_observer = std::move(observer); }
    Firmware &firmware() { return m_firmware; }
    const Firmware &firmware() const { return m_firmware; }

private:
    struct Delivery {
        qint64 timeNs;
        QByteArray bytes;
    };

    void schedule(qint64 readyNs, QByteArray bytes);
    void addGarbage(QByteArray &bytes);
    char garbageByte();

    Firmware m_firmware;
    LineAssembler m_assembler;
    LineTiming m_timing;
    LineFaults m_faults;
    LineObserver m_observer;
    QRandomGenerator m_random;
    std::deque<Delivery> m_pending;
    qsizetype m_pendingBytes = 0;
    qint64 m_lines = 0;
};

} // namespace kdx::sim
