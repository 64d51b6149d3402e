#include "values.h"

namespace kdx {

void Switch::set(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    emit changed(on);
}

void Switch::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged(enabled);
}

void Text::set(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit changed(text);
}

void Dial::set(int value)
{
    value = std::clamp(value, m_min, m_max);
    if (value == m_value)
        return;
    m_value = value;
    emit changed(value);
}

void Choice::select(int option)
{
    if (option == m_selected)
        return;
    m_selected = option;
    emit changed(option);
}

void Choice::deselect(int option)
{
    if (option == m_selected)
        select(kNone);
}

} // namespace kdx
