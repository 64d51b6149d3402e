#include "dialogprompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace kdx {

QString DialogPrompter::shownText(QString text)
{
    // Messages break their lines the way the controller's platform did
    // (LF CR pairs among them); a box shows each break once.
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

void DialogPrompter::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon, title,
                    shownText(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool DialogPrompter::question(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, shownText(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
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
