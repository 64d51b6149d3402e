#include "scriptedopener.h"

kdx::OpenResult ScriptedOpener::open()
{
    ++attempts;
    kdx::OpenResult result{kdx::OpenResult::Status::Open, QString()};
    if (!outcomes.empty()) {
        result = outcomes.front();
        outcomes.pop_front();
    }
    if (result.status == kdx::OpenResult::Status::Open && !m_device.isOpen())
        m_device.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    return result;
}
