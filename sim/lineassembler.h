#pragma once

#include <QByteArray>

namespace kdx::sim {

// Collects received bytes into command lines. A line ends at CR; LF bytes are
// ignored. A line longer than MaxLength is not kept: its bytes are dropped as
// they come and its CR reports Overlong, so memory stays bounded whatever
// arrives.
class LineAssembler {
public:
    static constexpr qsizetype MaxLength = 256;

    enum class Result { Pending, Complete, Overlong };

    Result feed(char byte);
    // The line completed by the last feed() that returned Complete.
    const QByteArray &line() const { return m_line; }

private:
    QByteArray m_buffer;
    QByteArray m_line;
    bool m_overlong = false;
};

} // namespace kdx::sim
