#include "operationguard.h"

#include "form1.h"
#include "link/linkerror.h"
#include "link/seriallink.h"

namespace kdx {

void OperationGuard::run(const std::function<void()> &operation)
{
    // A line lost between operations has no operation left to end: the
    // first one after it, perhaps on a line opened again, runs in full.
    if (m_depth == 0)
        m_link.endOperation();
    ++m_depth;
    try {
        operation();
    } catch (const LinkError &) {
        m_form.setMousePointer(Form1::Pointer::Default);
    }
    if (--m_depth == 0)
        m_link.endOperation();
}

} // namespace kdx
