#include "quietprompter.h"

void QuietPrompter::message(const QString &text, const QString &title, Icon)
{
    m_noted << title + QStringLiteral(": ") + text;
}

bool QuietPrompter::question(const QString &text, const QString &title)
{
    m_noted << title + QStringLiteral(": ") + text;
    return false;
}

std::optional<QString> QuietPrompter::input(const QString &prompt, const QString &title,
                                            const QString &)
{
    m_noted << title + QStringLiteral(": ") + prompt;
    return std::nullopt;
}
