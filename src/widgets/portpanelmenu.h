#pragma once

class QAction;
class QWidget;

namespace kdx {

// The first status panel's own menu, under the right mouse button: the port
// chooser (a left click opens it as well), the axis name and the history
// window. The window's layout stays as it is.
struct PortPanelMenu {
    QAction *choosePort;
    QAction *axisName;
    QAction *history; // also Ctrl+H anywhere in the window
};

PortPanelMenu addPortPanelMenu(QWidget *panel);

} // namespace kdx
