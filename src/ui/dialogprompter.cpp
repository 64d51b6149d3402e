#include "dialogprompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace kdx {

void DialogPrompter::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon, title,
                    text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool DialogPrompter::question(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> DialogPrompter::input(const QString &prompt, const QString &title,
                                             const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace kdx
