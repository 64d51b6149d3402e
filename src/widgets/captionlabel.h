#pragma once

#include <QLabel>

namespace kdx {

// A label whose caption change is an event of its own: setCaption() emits
// captionChanged() when, and only when, the text really changes.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setCaption(const QString &caption);
    QString caption() const { return text(); }

signals:
    void captionChanged(const QString &caption);
};

} // namespace kdx
