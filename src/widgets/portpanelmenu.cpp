#include "portpanelmenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

namespace kdx {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PortPanelMenu", text);
}

} // namespace

PortPanelMenu addPortPanelMenu(QWidget *panel)
{
    PortPanelMenu menu;
    menu.choosePort = new QAction(tr("Port választása..."), panel);
    menu.axisName = new QAction(tr("Tengely neve..."), panel);
    menu.history = new QAction(tr("Előzmények..."), panel);
    menu.history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    menu.history->setShortcutContext(Qt::WindowShortcut);
    panel->addActions({menu.choosePort, menu.axisName, menu.history});
    panel->setContextMenuPolicy(Qt::ActionsContextMenu);
    panel->setToolTip(panel->toolTip() + tr("; jobb gomb: tengely neve, előzmények (Ctrl+H)"));
    return menu;
}

} // namespace kdx
