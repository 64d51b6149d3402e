#include "statuspanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace kdx {

StatusPanel::StatusPanel(const QString &text, Width width, QWidget *parent)
    : QLabel(text, parent), m_width(width)
{
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(0);
    setContentsMargins(3, 0, 3, 0);
}

QSize StatusPanel::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    if (m_width == Width::TakesTheRest)
        hint.setWidth(fontMetrics().averageCharWidth() * 8);
    return hint;
}

QString StatusPanel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void StatusPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    drawFrame(&p);
    style()->drawItemText(&p, contentsRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

void StatusPanel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace kdx
