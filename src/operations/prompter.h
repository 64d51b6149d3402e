#pragma once

#include <QString>

#include <optional>

namespace kdx {

// The program's own title, used by message boxes that have no title of their own.
inline constexpr const char *kProgramTitle = "kdxterminal";

// Modal message, question and input boxes. Every box the operations show
// goes through this, so that tests can script the answers and record what
// was shown.
class Prompter {
public:
    enum class Icon { None, Question };

    virtual ~Prompter() = default;
    // A message with an OK button.
    virtual void message(const QString &text,
                         const QString &title = QString::fromUtf8(kProgramTitle),
                         Icon icon = Icon::None) = 0;
    // A Yes/No question with the question icon and No as the default button.
    // True for Yes; closing the box counts as No.
    virtual bool question(const QString &text, const QString &title) = 0;
    // An input box; nothing when it was cancelled.
    virtual std::optional<QString> input(const QString &prompt,
                                         const QString &title = QString::fromUtf8(kProgramTitle),
                                         const QString &defaultText = QString()) = 0;
};

} // namespace kdx
