#include "operationguard.h"

#include "link/linkerror.h"
#include "link/seriallink.h"
#include "widgets/form1.h"

namespace kdx {

void OperationGuard::run(const std::function<void()> &operation)
{
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
