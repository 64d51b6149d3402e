#include "captionlabel.h"

namespace kdx {

void CaptionLabel::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    emit captionChanged(caption);
}

} // namespace kdx
