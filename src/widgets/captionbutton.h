#pragma once

#include <QPushButton>

namespace kdx {

// A push button whose caption breaks onto further lines at word boundaries
// when one line is too narrow for it, as the window's tall buttons ("Mind
// KIOLVAS") need. The text and the accessible name stay the plain caption.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // Where the caption goes, and the flags it is laid out with.
    QRect captionRect() const;
    static constexpr int kCaptionPadding = 2;
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kdx
