#pragma once

#include <QtGlobal>

namespace kdx::sim {

// When bytes cross the serial line, as a USB-serial adapter delivers them.
//
// Each direction of the line carries one byte at a time: a byte takes
// 10 / baudRate seconds (start bit, 8 data bits, stop bit), and bytes queue
// behind the ones still on the wire. The controller answers a line once its last byte
// has arrived; the adapter hands over an answer in one piece once all of it
// has come in, plus a fixed latency. For a single command on an idle line:
//
//   delivery = (request bytes + reply bytes) * 10 / baudRate + latency
//
// A baud rate of 0 means an infinitely fast line. Times are nanoseconds.
class LineTiming {
public:
    static constexpr int DefaultBaudRate = 38400;
    static constexpr int BitsPerByte = 10;
    static constexpr qint64 DefaultLatencyNs = 1'000'000;

    LineTiming() = default;
    LineTiming(int baudRate, qint64 latencyNs);
    // No transfer time and no latency: answers are there as soon as asked.
    static LineTiming instant() { return LineTiming(0, 0); }

    int baudRate() const { return m_baudRate; }
    qint64 latencyNs() const { return m_latencyNs; }

    // Time the given number of bytes take on the wire.
    qint64 transferNs(qint64 bytes) const;

    // The terminal hands over bytes at nowNs; returns when the last of them
    // has reached the controller.
    qint64 receive(qint64 nowNs, qint64 bytes);
    // The controller starts sending bytes at readyNs; returns when the
    // terminal's side has them all.
    qint64 send(qint64 readyNs, qint64 bytes);
    // Both directions idle, as after the port was closed.
    void reset();

private:
    int m_baudRate = DefaultBaudRate;
    qint64 m_latencyNs = DefaultLatencyNs;
    qint64 m_inboundFreeNs = 0;
    qint64 m_outboundFreeNs = 0;
};

} // namespace kdx::sim
