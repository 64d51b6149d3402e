#include "contexthelp.h"

#include "core/helptable.h"
#include "core/numberrules.h"
#include "form1.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

namespace kdx {

ContextHelp::ContextHelp(Form1 &form, QObject *parent) : QObject(parent), m_form(form)
{
    watch(&m_form);
    const QList<QWidget *> widgets = m_form.findChildren<QWidget *>();
    for (QWidget *w : widgets)
        watch(w);
}

void ContextHelp::watch(QWidget *widget)
{
    // Moves without a pressed button reach a widget only when it tracks the mouse.
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

bool ContextHelp::isContainer(const QWidget *widget) const
{
    return widget == &m_form ||
           (qobject_cast<const QGroupBox *>(widget) && widget->parentWidget() == &m_form);
}

QWidget *ContextHelp::controlAt(QWidget *receiver, const QPoint &pos) const
{
    // Every widget a move passes on its way up asks the same question, so the
    // answer starts from the deepest widget under the point.
    QWidget *w = receiver->childAt(pos);
    if (!w)
        w = receiver;

    // Up to the control that the widget is, or is part of.
    bool inScrollBar = false;
    while (w != &m_form && !isContainer(w->parentWidget())) {
        inScrollBar = inScrollBar || qobject_cast<QScrollBar *>(w);
        w = w->parentWidget();
        if (!w)
            return nullptr; // not in this window
    }

    // A disabled control takes no mouse moves: its frame answers instead.
    if (!w->isEnabled()) {
        while (w != &m_form && !w->isEnabled())
            w = w->parentWidget();
        return w;
    }
    if (inScrollBar || qobject_cast<QScrollBar *>(w))
        return nullptr;
    return w;
}

void ContextHelp::showHelpOf(QWidget *control)
{
    const HelpEntry *entry = helpEntry(control->objectName());
    if (!entry)
        return;
    QString box;
    if (entry->kind != HelpEntry::Kind::Text) {
        auto *edit = qobject_cast<QLineEdit *>(control);
        if (!edit)
            return;
        box = edit->text();
    }
    const std::optional<QString> text = helpText(*entry, box, localeDecimalSeparator());
    if (text)
        m_form.helpPanel()->setText(*text);
}

bool ContextHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (QWidget *control =
                controlAt(static_cast<QWidget *>(watched), move->position().toPoint()))
            showHelpOf(control);
    }
    return false; // the control handles the move as usual
}

} // namespace kdx
