#include "optiongroup.h"

#include <QRadioButton>

namespace kdx {

void OptionGroup::add(QRadioButton *button)
{
    button->setAutoExclusive(false);
    m_buttons.append(button);
}

void OptionGroup::select(QRadioButton *button)
{
    for (QRadioButton *other : std::as_const(m_buttons)) {
        if (other != button)
            other->setChecked(false);
    }
    button->setChecked(true);
}

void OptionGroup::deselect(QRadioButton *button)
{
    button->setChecked(false);
}

QRadioButton *OptionGroup::selected() const
{
    for (QRadioButton *b : m_buttons) {
        if (b->isChecked())
            return b;
    }
    return nullptr;
}

} // namespace kdx
