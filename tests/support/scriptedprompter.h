#pragma once

#include "operations/prompter.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

// Records every box the terminal shows and answers from queues: questions
// are answered No and input boxes cancelled unless a test queued otherwise.
class ScriptedPrompter : public kdx::Prompter {
public:
    enum class Kind { Message, Question, Input };
    struct Shown {
        Kind kind;
        QString text;
        QString title;
    };

    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;

    QList<Shown> shown;
    std::deque<bool> answers;
    std::deque<std::optional<QString>> inputs;
    // Runs while a box is "open", as the operator's other actions would.
    std::function<void(const Shown &)> whileOpen;

    QStringList texts() const;
    void clear() { shown.clear(); }

private:
    void record(const Shown &s);
};
