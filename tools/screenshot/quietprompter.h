#pragma once

#include "operations/prompter.h"

#include <QStringList>

// Boxes that never open: a picture is taken unattended, so every message is
// only noted, every question answered No and every input box cancelled.
class QuietPrompter : public kdx::Prompter {
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;

    // Every box that would have been shown, as "title: text".
    const QStringList &noted() const { return m_noted; }

private:
    QStringList m_noted;
};
