#include "figurestable.h"

#include "operations/capturestore.h"
#include "runcolours.h"

#include <QHeaderView>
#include <QLocale>
#include <QPixmap>

#include <cmath>

namespace kdx {

namespace {

QString number(double v, int decimals)
{
    return std::isfinite(v) ? QLocale().toString(v, 'f', decimals) : QStringLiteral("–");
}

QString withSpread(double mean, double spread, int decimals)
{
    if (!std::isfinite(mean))
        return QStringLiteral("–");
    return number(mean, decimals) + QStringLiteral(" ± ") + number(spread, decimals);
}

// The figure columns, in order, with their decimals.
struct FigureColumn {
    FiguresTable::Column column;
    double StepFigures::*field;
    int decimals;
};
constexpr FigureColumn kFigureColumns[] = {
    {FiguresTable::PeakError, &StepFigures::peakError, 0},
    {FiguresTable::Overshoot, &StepFigures::overshootPct, 1},
    {FiguresTable::TimeToPeak, &StepFigures::timeToPeakMs, 1},
    {FiguresTable::RiseTime, &StepFigures::riseTimeMs, 1},
    {FiguresTable::SettlingTime, &StepFigures::settlingTimeMs, 1},
    {FiguresTable::Band, &StepFigures::bandCounts, 0},
    {FiguresTable::SteadyState, &StepFigures::steadyStateError, 1},
    {FiguresTable::Iae, &StepFigures::iae, 2},
    {FiguresTable::Itae, &StepFigures::itae, 0},
    {FiguresTable::SampleRate, &StepFigures::sampleRateHz, 0},
};

QString paramsText(const Capture &c)
{
    if (!c.paramsKnown)
        return QStringLiteral("–");
    QStringList parts;
    for (int n = 0; n < 8; ++n)
        parts << QStringLiteral("P%1=%2").arg(n).arg(c.params[std::size_t(n)]);
    return parts.join(u' ');
}

QTableWidgetItem *readOnly(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

FiguresTable::FiguresTable(CaptureStore &store, QWidget *parent)
    : QTableWidget(parent), m_store(store)
{
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({tr("Felvétel"), tr("Csúcshiba"), tr("Túllövés %"), tr("Csúcsidő ms"),
                               tr("Felfutás ms"), tr("Beállás ms"), tr("Sáv"), tr("Maradó hiba"),
                               QStringLiteral("IAE ms"), QStringLiteral("ITAE ms²"), tr("Lengés"),
                               tr("Minta/s"), QStringLiteral("P0..P7")});
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The label is long; the whole of it is in the legend and the tooltip.
    horizontalHeader()->setSectionResizeMode(Run, QHeaderView::Interactive);
    setColumnWidth(Run, 190);
    setWordWrap(false);
    setAccessibleName(tr("Jellemzők"));
    connect(&m_store, &CaptureStore::changed, this, &FiguresTable::rebuild);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_building || item->column() != Run)
            return;
        const int entry = entryOfRow(item->row());
        if (entry >= 0)
            m_store.setVisible(entry, item->checkState() == Qt::Checked);
    });
    rebuild();
}

int FiguresTable::entryOfRow(int row) const
{
    return row >= 0 && row < int(m_rowEntry.size()) ? m_rowEntry[std::size_t(row)] : -1;
}

int FiguresTable::rowOfEntry(int entry) const
{
    for (std::size_t r = 0; r < m_rowEntry.size(); ++r)
        if (m_rowEntry[r] == entry)
            return int(r);
    return -1;
}

int FiguresTable::currentEntry() const
{
    return entryOfRow(currentRow());
}

void FiguresTable::rebuild()
{
    m_building = true;
    const int current = currentEntry();
    m_rowEntry.clear();
    setRowCount(0);
    const auto addRow = [this](int entry) {
        const int row = rowCount();
        insertRow(row);
        m_rowEntry.push_back(entry);
        return row;
    };
    const auto &entries = m_store.entries();
    for (int i = 0; i < int(entries.size()); ++i) {
        const CaptureStore::Entry &e = entries[std::size_t(i)];
        const int row = addRow(i);
        QString label = e.capture.label.isEmpty() ? tr("felvétel %1").arg(i + 1) : e.capture.label;
        if (i == m_store.reference())
            label += tr(" [referencia]");
        if (!e.capture.record.complete)
            label += tr(" [hiányos]");
        if (e.imported)
            label += tr(" [fájlból]");
        auto *run = new QTableWidgetItem(label);
        run->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        run->setCheckState(e.visible ? Qt::Checked : Qt::Unchecked);
        QPixmap swatch(12, 12);
        swatch.fill(runColour(e.colour));
        run->setIcon(swatch);
        run->setToolTip(e.figures.note.isEmpty() ? label : label + u'\n' + e.figures.note);
        setItem(row, Run, run);
        for (const FigureColumn &c : kFigureColumns)
            setItem(row, c.column, readOnly(number(e.figures.*(c.field), c.decimals)));
        setItem(row, Oscillations, readOnly(QString::number(e.figures.oscillations)));
        setItem(row, Params, readOnly(paramsText(e.capture)));

        // The mean of a run of pairs follows its last capture.
        const bool lastOfGroup = e.group != 0 && (i + 1 == int(entries.size()) ||
                                                  entries[std::size_t(i + 1)].group != e.group);
        if (!lastOfGroup)
            continue;
        const FigureSpread s = m_store.groupSpread(e.group);
        if (s.count < 2)
            continue;
        const int mean = addRow(-1);
        setItem(mean, Run, readOnly(tr("átlag ± szórás (%n felvétel)", nullptr, s.count)));
        for (const FigureColumn &c : kFigureColumns)
            setItem(mean, c.column,
                    readOnly(withSpread(s.mean.*(c.field), s.spread.*(c.field), c.decimals)));
        setItem(mean, Oscillations,
                readOnly(QString::number(s.mean.oscillations) + QStringLiteral(" ± ") +
                         QString::number(s.spread.oscillations)));
        setItem(mean, Params, readOnly(paramsText(e.capture)));
        QFont bold = font();
        bold.setBold(true);
        for (int c = 0; c < ColumnCount; ++c)
            if (QTableWidgetItem *it = item(mean, c))
                it->setFont(bold);
    }
    if (const int row = rowOfEntry(current); row >= 0)
        setCurrentCell(row, Run);
    m_building = false;
}

} // namespace kdx
