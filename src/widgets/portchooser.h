#pragma once

#include "core/portchoice.h"

#include <QDialog>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace kdx {

class LanguageMemory;
class PortCatalogue;

// Lists the serial ports present, USB adapters first, with what the system
// knows of each, and the built-in simulator; the operator picks the line to
// the controller. The present choice is selected when it opens. Below the
// list, the language of the window ("Nyelv / Language"): a change is
// remembered at once and takes effect at the program's next start.
class PortChooser : public QDialog {
    Q_OBJECT
public:
    // problem: what is wrong with the present line, empty when nothing is.
    // languages: where the language choice is kept; none: no language choice.
    PortChooser(const PortCatalogue &catalogue, const PortChoice &current, const QString &problem,
                LanguageMemory *languages = nullptr, QWidget *parent = nullptr);

    // The selected row's choice; nothing when no row is selected.
    std::optional<PortChoice> choice() const;
    // Shows it and waits; nothing when the operator cancelled.
    static std::optional<PortChoice> ask(const PortCatalogue &catalogue, const PortChoice &current,
                                         const QString &problem, LanguageMemory *languages,
                                         QWidget *parent);

    QTreeWidget *list() const { return m_list; }
    QPushButton *refreshButton() const { return m_refresh; }
    // Null without a language memory.
    QComboBox *languageList() const { return m_language; }
    QLabel *languageNote() const { return m_languageNote; }

    // Simulator presets offered beside the default simulator.
    static QStringList simulatorPresets();

private:
    void fill();
    void select(const PortChoice &choice);

    const PortCatalogue &m_catalogue;
    QTreeWidget *m_list;
    QPushButton *m_refresh;
    QPushButton *m_open;
    QComboBox *m_language = nullptr;
    QLabel *m_languageNote = nullptr;
};

} // namespace kdx
