#include "lineassembler.h"

namespace kdx::sim {

LineAssembler::Result LineAssembler::feed(char byte)
{
    if (byte == '\n')
        return Result::Pending;
    if (byte == '\r') {
        const bool overlong = m_overlong;
        m_overlong = false;
        m_line = overlong ? QByteArray() : m_buffer;
        m_buffer.clear();
        return overlong ? Result::Overlong : Result::Complete;
    }
    if (m_overlong)
        return Result::Pending;
    if (m_buffer.size() >= MaxLength) {
        m_overlong = true;
        m_buffer.clear();
        return Result::Pending;
    }
    m_buffer.append(byte);
    return Result::Pending;
}

} // namespace kdx::sim
