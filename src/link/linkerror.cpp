#include "linkerror.h"

namespace kdx {

const char *LinkError::what() const noexcept
{
    switch (m_kind) {
    case Kind::NoReply:
        return "no reply from the controller";
    case Kind::Unintelligible:
        return "unintelligible replies from the controller";
    case Kind::NotOpen:
        return "serial port not open";
    case Kind::Aborted:
        return "operation aborted";
    }
    return "link error";
}

} // namespace kdx
