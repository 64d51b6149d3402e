#pragma once

#include "core/portchoice.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kdx {

class PortCatalogue;

// Lists the serial ports present, USB adapters first, with what the system
// knows of each, and the built-in simulator; the operator picks the line to
// the controller. The present choice is selected when it opens.
class PortChooser : public QDialog {
    Q_OBJECT
public:
    // problem: what is wrong with the present line, empty when nothing is.
    PortChooser(const PortCatalogue &catalogue, const PortChoice &current, const QString &problem,
                QWidget *parent = nullptr);

    // The selected row's choice; nothing when no row is selected.
    std::optional<PortChoice> choice() const;
    // Shows it and waits; nothing when the operator cancelled.
    static std::optional<PortChoice> ask(const PortCatalogue &catalogue, const PortChoice &current,
                                         const QString &problem, QWidget *parent);

    QTreeWidget *list() const { return m_list; }
    QPushButton *refreshButton() const { return m_refresh; }

    // Simulator presets offered beside the default simulator.
    static QStringList simulatorPresets();

private:
    void fill();
    void select(const PortChoice &choice);

    const PortCatalogue &m_catalogue;
    QTreeWidget *m_list;
    QPushButton *m_refresh;
    QPushButton *m_open;
};

} // namespace kdx
