#include "portpanelmenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

namespace kdx {

namespace {

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(PortPanelMenu)
};

} // namespace

PortPanelMenu addPortPanelMenu(QWidget *panel)
{
    PortPanelMenu menu;
    menu.choosePort = new QAction(Texts::tr("Port választása..."), panel);
    menu.axisName = new QAction(Texts::tr("Tengely neve..."), panel);
    menu.history = new QAction(Texts::tr("Előzmények..."), panel);
    menu.history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    menu.history->setShortcutContext(Qt::WindowShortcut);
    panel->addActions({menu.choosePort, menu.axisName, menu.history});
    panel->setContextMenuPolicy(Qt::ActionsContextMenu);
    panel->setToolTip(panel->toolTip() +
                      Texts::tr("; jobb gomb: tengely neve, előzmények (Ctrl+H)"));
    return menu;
}

} // namespace kdx
