#pragma once

#include "core/portchoice.h"
#include "link/portcatalogue.h"

#include <QCoreApplication>
#include <functional>
#include <memory>

namespace kdx {

class PortOpener;
class Prompter;
class SerialLink;
struct OpenResult;

// Moves the terminal to another line at the operator's choice: closes the
// port in use, opens the chosen one and remembers the choice for the next
// start. The first actions on the new line are the caller's.
class PortSwitch {
    Q_DECLARE_TR_FUNCTIONS(PortSwitch)

public:
    using OpenerMaker = std::function<std::unique_ptr<PortOpener>(const PortChoice &)>;

    // current: what the link's opener was made from. memory may be null
    // (nothing is remembered).
    PortSwitch(SerialLink &link, Prompter &prompter, const PortCatalogue &catalogue,
               PortMemory *memory, const PortChoice &current, OpenerMaker maker = openerFor);
    ~PortSwitch();

    const PortChoice &current() const { return m_current; }
    const PortCatalogue &catalogue() const { return m_catalogue; }

    // Between operations only. A port held by another program is said so
    // in a box and not remembered; the link keeps trying it.
    OpenResult switchTo(const PortChoice &choice);

    // How the last opening of a line went (start-up's or a switch's).
    void openedWith(const OpenResult &result);
    // The serial port could not be opened because it is not among the
    // ports present, while other ports are (and nothing else has gone wrong
    // since).
    bool missingWhileOthersExist() const;

    // What the box says of a port held by another program.
    static QString inUseMessage(const QString &portName);

private:
    SerialLink &m_link;
    Prompter &m_prompter;
    const PortCatalogue &m_catalogue;
    PortMemory *m_memory;
    PortChoice m_current;
    OpenerMaker m_maker;
    std::unique_ptr<PortOpener> m_opener; // the line once switched; the first is the caller's
    QString m_openFailure;                // why the last opening failed, if it did
};

} // namespace kdx
