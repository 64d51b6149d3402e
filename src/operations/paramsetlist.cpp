#include "paramsetlist.h"

#include "core/paramline.h"
#include "core/paramtable.h"
#include "core/utf8.h"
#include "paramrows.h"
#include "paramsetstore.h"
#include "prompter.h"
#include "values.h"

namespace kdx {

void ParamSetList::loadPicked()
{
    const QString row = m_store.list().currentText();
    for (int k = 0; k < kParamCount; ++k) {
        const std::optional<QString> value = loadParamValue(row, k);
        if (!value) {
            m_rows.clearNewValues();
            m_prompter.message(tr("Hibás vagy nem teljes motor paraméter sor .") +
                                   QStringLiteral("\n\r\n\r") +
                                   tr("Válassz a listából! ( Klikkelj a listából egy sorra , "
                                      "majd betöltés gomb . )"),
                               tr("Hibás paramétersor betöltés"));
            return;
        }
        m_rows.newValue(k).set(*value);
    }
    m_rows.announceLoaded();
}

void ParamSetList::checkPickedRow()
{
    // Only a row the operator has picked is checked; the list losing its
    // selection is not an empty row.
    const SetList &list = m_store.list();
    if (list.current() >= 0 && list.current() < list.count() && list.currentText().isEmpty())
        m_prompter.message(tr("Üres paramétersor nem betölthető."));
}

void ParamSetList::deletePicked()
{
    if (!m_prompter.question(tr("Biztos, hogy töröljem a paramétersort ?"), tr("Törlés"))) {
        m_busy.set(false);
        return;
    }
    m_busy.set(true);
    SetList &list = m_store.list();
    const int selected = list.current();
    if (list.count() == 0) {
        m_prompter.message(tr("Nincs törölhető paraméterlista."));
    } else if (selected < 0) {
        m_prompter.message(tr("Válassz törlendő paramétersort."));
    } else {
        const QString removed = list.take(selected);
        // The file follows the list, also when the last row goes. When the
        // file cannot be written the row comes back, so that the list still
        // shows what the file holds.
        if (m_store.rewriteList()) {
            // The rows that moved up were not picked by the operator.
            list.setCurrent(-1);
        } else {
            list.insert(selected, removed);
            list.setCurrent(selected);
        }
    }
    m_busy.set(false);
}

} // namespace kdx
