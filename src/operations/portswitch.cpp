#include "portswitch.h"

#include "link/portopener.h"
#include "link/seriallink.h"
#include "link/simulatedopener.h"
#include "operations/prompter.h"

#include <algorithm>

namespace kdx {

PortSwitch::PortSwitch(SerialLink &link, Prompter &prompter, const PortCatalogue &catalogue,
                       PortMemory *memory, const PortChoice &current, OpenerMaker maker)
    : m_link(link), m_prompter(prompter), m_catalogue(catalogue), m_memory(memory),
      m_current(current), m_maker(std::move(maker))
{
}

PortSwitch::~PortSwitch() = default;

OpenResult PortSwitch::switchTo(const PortChoice &choice)
{
    std::unique_ptr<PortOpener> opener = m_maker(choice);
    const OpenResult result = m_link.switchTo(*opener);
    // The old line is closed; whatever it held goes with its opener.
    m_opener = std::move(opener);
    m_current = choice;
    openedWith(result);
    if (result.status == OpenResult::Status::InUse)
        m_prompter.message(inUseMessage(m_link.portName()));
    else if (m_memory)
        m_memory->remember(choice);
    return result;
}

void PortSwitch::openedWith(const OpenResult &result)
{
    m_openFailure = result.status == OpenResult::Status::Failed ? result.reason : QString();
}

bool PortSwitch::missingWhileOthersExist() const
{
    // A port lost later, or one that failed for another reason, is not this case.
    if (m_current.isSimulator() || m_link.isOpen() || m_openFailure.isEmpty() ||
        m_link.problem() != m_openFailure)
        return false;
    const QString device = deviceOf(m_current);
    const std::vector<PortInfo> present = m_catalogue.ports();
    return !present.empty() && std::none_of(present.begin(), present.end(), [&](const PortInfo &p) {
        return samePort(p.device, device);
    });
}

QString PortSwitch::inUseMessage(const QString &portName)
{
    return tr("%1 Port használatban van.").arg(SimulatedOpener::shownPortName(portName));
}

} // namespace kdx
