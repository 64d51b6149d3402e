#pragma once

#include <QLabel>

namespace kdx {

// A panel of the status bar. It never makes the bar wider than the window:
// a text that does not fit is shown up to an ellipsis, while text() stays
// the whole text. A panel that keeps its text asks for room for all of it
// (up to its maximum width); the others take what is left.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    enum class Width { KeepsText, TakesTheRest };

    StatusPanel(const QString &text, Width width, QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    // What is on show: the text, or its beginning up to an ellipsis.
    QString shownText() const;

signals:
    // Clicked with the left mouse button.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Width m_width;
};

} // namespace kdx
