#include "captionbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kdx {

QRect CaptionButton::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    // A little air on both sides, so that a caption never touches the rim.
    QRect r = style()
                  ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
                  .adjusted(kCaptionPadding, 0, -kCaptionPadding, 0);
    if (option.state & (QStyle::State_On | QStyle::State_Sunken))
        r.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                    style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    return r;
}

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear(); // the style draws the bevel and the focus, the caption comes below
    p.drawControl(QStyle::CE_PushButton, option);

    int flags = kCaptionFlags;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    p.drawItemText(captionRect(), flags, option.palette, isEnabled(), caption,
                   QPalette::ButtonText);
}

} // namespace kdx
