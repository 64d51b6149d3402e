#pragma once

#include "operations/prompter.h"

class QWidget;

namespace kdx {

// The boxes the operator sees: QMessageBox and QInputDialog over the window.
class DialogPrompter : public Prompter {
public:
    explicit DialogPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;

    // The text as a box shows it: every line break as one LF.
    static QString shownText(QString text);

private:
    QWidget *m_parent;
};

} // namespace kdx
