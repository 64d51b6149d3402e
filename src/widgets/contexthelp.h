#pragma once

#include <QObject>

class QPoint;
class QWidget;

namespace kdx {

class Form1;

// The hover help: while the mouse moves over the window, the help panel of
// the status bar shows the help of the control under it (the table in
// helptable.h). One event filter on the window and on every widget in it
// serves them all.
//
// Which control a move belongs to follows how the window's controls behave:
// - a part of a control (the list's inside, a combo box's edit field or its
//   drop-down) belongs to that control; Line1 lets the mouse through to the
//   graph under it;
// - a scrollbar, also the list's own, has no help: the panel stays as it is;
// - a disabled control takes no mouse moves, so its frame's background
//   answers (as for the direction option buttons, which let the mouse through);
// - hidden controls are never under the mouse.
class ContextHelp : public QObject {
    Q_OBJECT
public:
    // Starts watching the window and every widget in it.
    explicit ContextHelp(Form1 &form, QObject *parent = nullptr);

    // The control (or frame, or the window itself) that a mouse move at pos,
    // in receiver's coordinates, belongs to; nullptr for a scrollbar and for
    // widgets outside the window.
    QWidget *controlAt(QWidget *receiver, const QPoint &pos) const;

    // The mouse moved over this control: its help goes into the help panel.
    // A control without help, or a computed help that cannot be worked out,
    // leaves the panel as it is.
    void showHelpOf(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QWidget *widget);
    bool isContainer(const QWidget *widget) const;

    Form1 &m_form;
};

} // namespace kdx
