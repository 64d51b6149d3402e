#include "simulatedline.h"

#include <utility>

namespace kdx::sim {

SimulatedLine::SimulatedLine(const LineTiming &timing, const LineFaults &faults)
    : m_timing(timing), m_faults(faults), m_random(faults.seed)
{
}

void SimulatedLine::receive(qint64 nowNs, QByteArrayView bytes)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const LineAssembler::Result result = m_assembler.feed(bytes[i]);
        if (result == LineAssembler::Result::Pending)
            continue;
        const QByteArrayView piece = bytes.sliced(start, i + 1 - start);
        start = i + 1;
        const qint64 arrivalNs = m_timing.receive(nowNs, piece.size());
        const bool complete = result == LineAssembler::Result::Complete;
        if (m_observer)
            m_observer(arrivalNs, complete ? QByteArrayView(m_assembler.line()) : QByteArrayView(),
                       !complete);
        m_firmware.advanceTo(arrivalNs);
        QByteArray answer = m_firmware.echo() ? piece.toByteArray() : QByteArray();
        answer += complete ? m_firmware.handleLine(m_assembler.line()) : m_firmware.rejectLine();
        ++m_lines;
        if (m_faults.silentAfter < 0 || m_lines <= m_faults.silentAfter)
            schedule(arrivalNs, std::move(answer));
    }
    if (start < bytes.size()) {
        // The start of a line still being typed: it occupies the wire, and is
        // echoed as it arrives.
        const QByteArrayView rest = bytes.sliced(start);
        const qint64 arrivalNs = m_timing.receive(nowNs, rest.size());
        const bool silent = m_faults.silentAfter >= 0 && m_lines >= m_faults.silentAfter;
        if (m_firmware.echo() && !silent)
            schedule(arrivalNs, rest.toByteArray());
    }
}

void SimulatedLine::schedule(qint64 readyNs, QByteArray bytes)
{
    if (m_faults.mangled) {
        bytes.replace(' ', QByteArrayView());
        bytes.replace(':', QByteArrayView());
    }
    addGarbage(bytes);
    if (m_pendingBytes + bytes.size() > MaxPendingBytes)
        return;
    const qint64 deliveryNs = m_timing.send(readyNs, bytes.size());
    m_pendingBytes += bytes.size();
    m_pending.push_back({deliveryNs, std::move(bytes)});
}

void SimulatedLine::addGarbage(QByteArray &bytes)
{
    if (m_faults.garbageRate <= 0)
        return;
    QByteArray noisy;
    for (char c : std::as_const(bytes)) {
        noisy.append(c);
        if (m_random.generateDouble() < m_faults.garbageRate)
            noisy.append(garbageByte());
    }
    bytes = noisy;
}

char SimulatedLine::garbageByte()
{
    return char(m_faults.garbageByte >= 0 ? m_faults.garbageByte : m_random.bounded(256));
}

QByteArray SimulatedLine::noise(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = garbageByte();
    return bytes;
}

qint64 SimulatedLine::nextDeliveryNs() const
{
    return m_pending.empty() ? -1 : m_pending.front().timeNs;
}

QByteArray SimulatedLine::takeDue(qint64 nowNs)
{
    QByteArray due;
    while (!m_pending.empty() && m_pending.front().timeNs <= nowNs) {
        due += m_pending.front().bytes;
        m_pendingBytes -= m_pending.front().bytes.size();
        m_pending.pop_front();
    }
    return due;
}

void SimulatedLine::discardPending()
{
    m_pending.clear();
    m_pendingBytes = 0;
    m_timing.reset();
}

} // namespace kdx::sim
