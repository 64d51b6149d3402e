#include "scriptedprompter.h"

void ScriptedPrompter::record(const Shown &s)
{
    shown.append(s);
    if (whileOpen)
        whileOpen(s);
}

void ScriptedPrompter::message(const QString &text, const QString &title, Icon)
{
    record({Kind::Message, text, title});
}

bool ScriptedPrompter::question(const QString &text, const QString &title)
{
    record({Kind::Question, text, title});
    if (answers.empty())
        return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompter::input(const QString &prompt, const QString &title,
                                               const QString &)
{
    record({Kind::Input, prompt, title});
    if (inputs.empty())
        return std::nullopt;
    const QString answer = inputs.front().value_or(QString());
    const bool cancelled = !inputs.front().has_value();
    inputs.pop_front();
    if (cancelled)
        return std::nullopt;
    return answer;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const Shown &s : shown)
        out << s.text;
    return out;
}
