#pragma once

#include <exception>

namespace kdx {

// Ends the operation that is talking to the controller. Thrown by the link
// and caught once, where a window or timer event entered the program.
class LinkError : public std::exception {
public:
    enum class Kind {
        NoReply,        // nothing arrived within the reply time-out
        Unintelligible, // a read kept getting replies it could not cut
        NotOpen,        // the port is not open (failed at start-up or lost)
        Aborted,        // an earlier failure or the program's end stopped this operation
    };

    explicit LinkError(Kind kind) : m_kind(kind) {}
    Kind kind() const { return m_kind; }
    const char *what() const noexcept override;

private:
    Kind m_kind;
};

} // namespace kdx
