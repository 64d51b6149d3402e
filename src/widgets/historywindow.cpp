#include "historywindow.h"

#include "core/stepfigures.h"
#include "filechooser.h"
#include "operations/historytext.h"
#include "operations/historytimeline.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {

const char *const kGeometryKey = "history/geometry";

QString number(double v, int decimals)
{
    return std::isfinite(v) ? QLocale().toString(v, 'f', decimals) : QStringLiteral("–");
}

} // namespace

HistoryWindow::HistoryWindow(const HistoryServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window), m_s(services)
{
    setWindowTitle(tr("Előzmények"));
    setObjectName(QStringLiteral("History"));

    m_axes = new QComboBox(this);
    m_axes->setAccessibleName(tr("Tengely"));
    m_axes->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_kinds = new QComboBox(this);
    m_kinds->setAccessibleName(tr("Események"));
    m_kinds->addItem(tr("Minden esemény"), kAllKinds);
    for (const HistoryKind kind :
         {HistoryKind::Read, HistoryKind::Write, HistoryKind::Tuning, HistoryKind::Capture})
        m_kinds->addItem(historyKindName(kind), kindBit(kind));
    auto *refreshButton = new QPushButton(tr("Frissítés"), this);

    auto *bar = new QHBoxLayout;
    auto *axisLabel = new QLabel(tr("&Tengely:"), this);
    axisLabel->setBuddy(m_axes);
    auto *kindLabel = new QLabel(tr("&Események:"), this);
    kindLabel->setBuddy(m_kinds);
    bar->addWidget(axisLabel);
    bar->addWidget(m_axes);
    bar->addSpacing(12);
    bar->addWidget(kindLabel);
    bar->addWidget(m_kinds);
    bar->addWidget(refreshButton);
    bar->addStretch();

    m_timeline = new HistoryTimeline(this);
    m_view = new QTableView(this);
    m_view->setModel(m_timeline);
    m_view->setAccessibleName(tr("Idővonal"));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setWordWrap(false);

    auto *side = new QWidget(this);
    m_values = new QTableWidget(kParamCount, 1, side);
    m_values->setAccessibleName(tr("P0..P7 a kijelölt pontokon"));
    m_values->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_values->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    QStringList rows;
    for (int n = 0; n < kParamCount; ++n)
        rows << QString::fromUtf8(param(n).caption);
    m_values->setVerticalHeaderLabels(rows);
    m_details = new QLabel(side);
    m_details->setObjectName(QStringLiteral("HistoryDetails"));
    m_details->setWordWrap(true);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_details->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_restore = new QPushButton(tr("Visszaállítás"), side);
    m_restore->setToolTip(tr("A kijelölt pont P0..P7 értékei az Új érték mezőkbe kerülnek. "
                             "Nem küld semmit: küldés Pn-TESZT, Mind TESZT vagy Mind MENT."));
    m_export = new QPushButton(tr("CSV export..."), side);
    m_export->setToolTip(tr("A kijelölt események mentése CSV fájlba"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_restore);
    buttons->addWidget(m_export);
    buttons->addStretch();
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(m_values, 2);
    sideLayout->addWidget(m_details, 1);
    sideLayout->addLayout(buttons);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_view);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("HistoryStatus"));
    m_status->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    layout->addWidget(m_status);

    connect(refreshButton, &QPushButton::clicked, this, &HistoryWindow::refresh);
    connect(m_axes, &QComboBox::activated, this, &HistoryWindow::showTimeline);
    connect(m_kinds, &QComboBox::activated, this, &HistoryWindow::showTimeline);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryWindow::showSelection);
    connect(m_timeline, &QAbstractItemModel::modelReset, this, &HistoryWindow::showSelection);
    connect(m_restore, &QPushButton::clicked, this, &HistoryWindow::restoreSelected);
    connect(m_export, &QPushButton::clicked, this, &HistoryWindow::exportSelectedCsv);

    resize(1000, 600);
    const QByteArray geometry = QSettings().value(QLatin1String(kGeometryKey)).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

HistoryWindow::~HistoryWindow()
{
    QSettings().setValue(QLatin1String(kGeometryKey), saveGeometry());
}

void HistoryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void HistoryWindow::refresh()
{
    const bool readable = m_s.store && m_s.store->isOpen();
    const QString problem = m_s.problem ? m_s.problem() : QString();
    m_status->setText(readable ? problem
                               : (problem.isEmpty() ? tr("Nincsenek előzmények.") : problem));
    for (QWidget *w : {static_cast<QWidget *>(m_axes), static_cast<QWidget *>(m_kinds),
                       static_cast<QWidget *>(m_view)})
        w->setEnabled(readable);
    fillAxes();
    showTimeline();
}

void HistoryWindow::fillAxes()
{
    const AxisKey current = m_s.currentAxis ? m_s.currentAxis() : AxisKey();
    m_axisKeys.clear();
    m_axes->clear();
    bool currentListed = false;
    if (m_s.store) {
        for (const AxisSummary &a : m_s.store->axes()) {
            m_axisKeys.push_back(a.axis);
            m_axes->addItem(tr("%1 (%n esemény)", nullptr, int(a.events)).arg(axisTitle(a.axis)));
            currentListed = currentListed || a.axis == current;
        }
    }
    if (!currentListed && !current.port.isEmpty()) {
        m_axisKeys.insert(m_axisKeys.begin(), current);
        m_axes->insertItem(0, axisTitle(current));
    }
    m_axes->addItem(tr("Minden tengely"));
    const auto at = std::find(m_axisKeys.begin(), m_axisKeys.end(), current);
    m_axes->setCurrentIndex(at == m_axisKeys.end() ? 0 : int(at - m_axisKeys.begin()));
}

std::optional<AxisKey> HistoryWindow::chosenAxis() const
{
    const int i = m_axes->currentIndex();
    if (i < 0 || i >= int(m_axisKeys.size()))
        return std::nullopt;
    return m_axisKeys[std::size_t(i)];
}

void HistoryWindow::showTimeline()
{
    m_timeline->show(m_s.store, chosenAxis(), m_kinds->currentData().toUInt());
    m_view->resizeColumnToContents(HistoryTimeline::Time);
    m_view->resizeColumnToContents(HistoryTimeline::Kind);
}

void HistoryWindow::eventRecorded(const HistoryEvent &event)
{
    // A new axis shows up in the list next time it is read.
    const int before = m_timeline->count();
    m_timeline->add(event);
    if (m_timeline->count() != before)
        m_view->scrollToTop();
}

std::vector<HistoryEvent> HistoryWindow::selectedEvents() const
{
    std::vector<HistoryEvent> events;
    for (const QModelIndex &row : m_view->selectionModel()->selectedRows())
        events.push_back(m_timeline->at(row.row()));
    std::sort(events.begin(), events.end(),
              [](const HistoryEvent &a, const HistoryEvent &b) { return a.id < b.id; });
    return events;
}

void HistoryWindow::selectRows(const QList<int> &rows)
{
    QItemSelection selection;
    for (int row : rows)
        selection.select(m_timeline->index(row, 0),
                         m_timeline->index(row, HistoryTimeline::Columns - 1));
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void HistoryWindow::showSelection()
{
    const std::vector<HistoryEvent> picked = selectedEvents();
    m_values->clearContents();
    m_restore->setEnabled(picked.size() == 1 &&
                          std::any_of(picked.front().set.begin(), picked.front().set.end(),
                                      [](const QString &v) { return !v.isEmpty(); }));
    m_export->setEnabled(!picked.empty());
    if (picked.empty()) {
        m_values->setColumnCount(1);
        m_values->setHorizontalHeaderLabels({tr("Érték")});
        m_details->setText(tr("Jelölj ki egy pontot az értékeihez, kettőt a változáshoz."));
        return;
    }
    const HistoryEvent &a = picked.front();
    const HistoryEvent &b = picked.back();
    const bool two = picked.size() >= 2;
    m_values->setColumnCount(two ? 3 : 1);
    if (two)
        m_values->setHorizontalHeaderLabels({tr("A"), tr("B"), tr("Változás")});
    else
        m_values->setHorizontalHeaderLabels({tr("Érték")});
    for (int n = 0; n < kParamCount; ++n) {
        const std::size_t i = std::size_t(n);
        const QString change = two ? valueChange(a.set[i], b.set[i]) : QString();
        const bool changed = !change.isEmpty() && change != QLatin1String("0");
        const QStringList cells =
            two ? QStringList{shownValue(a.set[i]), shownValue(b.set[i]), change}
                : QStringList{shownValue(a.set[i])};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (changed) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            m_values->setItem(n, c, item);
        }
    }

    if (two) {
        m_details->setText(tr("A: %1 – %2\nB: %3 – %4")
                               .arg(eventTimeText(a.at), historySummary(a), eventTimeText(b.at),
                                    historySummary(b)));
        return;
    }
    QString details = eventTimeText(a.at) + QStringLiteral(" – ") + historySummary(a);
    const std::optional<HistoryEvent> full = m_s.store ? m_s.store->event(a.id) : std::nullopt;
    if (full && full->capture) {
        const StepFigures f = stepFigures(full->capture->record);
        details += tr("\nTúllövés %1 %, beállási idő %2 ms, csúcshiba %3, ITAE %4 ms²")
                       .arg(number(f.overshootPct, 1), number(f.settlingTimeMs, 0),
                            number(f.peakError, 0), number(f.itae, 0));
        if (!f.note.isEmpty())
            details += QStringLiteral(" (%1)").arg(f.note);
    } else if (full && full->tuning) {
        const TuningEntry &t = *full->tuning;
        const QJsonObject o = t.options;
        if (o.contains(QStringLiteral("aim")))
            details +=
                tr("\nCél: %1, lépés: %2, lépések: %3, idő: %4 s")
                    .arg(tuningAimName(o.value(QStringLiteral("aim")).toString()))
                    .arg(o.value(QStringLiteral("stepSteps")).toInt())
                    .arg(t.result.value(QStringLiteral("stepsUsed")).toInt())
                    .arg(number(t.result.value(QStringLiteral("elapsedMs")).toDouble() / 1000, 1));
    }
    m_details->setText(details);
}

void HistoryWindow::restoreSelected()
{
    const std::vector<HistoryEvent> picked = selectedEvents();
    if (picked.size() != 1) {
        m_status->setText(tr("Válassz ki pontosan egy pontot a visszaállításhoz."));
        return;
    }
    const QString refused = m_s.restore ? m_s.restore(picked.front().set) : tr("nem lehet");
    m_status->setText(
        refused.isEmpty()
            ? tr("A %1 értékei az Új érték mezőkben vannak. Semmi sem ment el: küldés "
                 "Pn-TESZT, Mind TESZT vagy Mind MENT.")
                  .arg(eventTimeText(picked.front().at))
            : tr("A visszaállítás most nem lehetséges: %1").arg(refused));
}

void HistoryWindow::exportSelectedCsv()
{
    const std::vector<HistoryEvent> picked = selectedEvents();
    if (picked.empty()) {
        m_status->setText(tr("Előbb jelölj ki eseményeket."));
        return;
    }
    if (!m_s.files)
        return;
    const QString folder = m_s.folder ? m_s.folder() : QString();
    const QString proposed = QDir(folder).filePath(
        tr("elozmenyek") +
        QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss")) +
        QStringLiteral(".csv"));
    const QString path =
        m_s.files->saveFileName(this, tr("Előzmények mentése"), proposed, tr("CSV fájl (*.csv)"));
    if (path.isEmpty())
        return;
    const QByteArray bytes = historyToCsv(picked);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        m_status->setText(tr("Mentve: %1 (%n esemény)", nullptr, int(picked.size()))
                              .arg(QDir::toNativeSeparators(path)));
    else
        m_status->setText(tr("A fájl nem írható: %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace kdx
