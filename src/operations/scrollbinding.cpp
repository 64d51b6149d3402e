#include "scrollbinding.h"

#include "widgets/form1.h"

#include <QLineEdit>
#include <QScrollBar>

namespace kdx {

void ScrollBinding::scrollChanged(int n)
{
    const ParamRow row = m_form.row(n);
    row.newValue->setText(QString::number(row.scroll->value()));
    m_form.update();
}

} // namespace kdx
