#include "tuningpanel.h"

#include "core/tuninglogcsv.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

namespace kdx {

namespace {

const char *const kFigureRows[] = {"ITAE (ms²)", "Túllendülés (%)", "Beállási idő (ms)",
                                   "Legnagyobb hiba (impulzus)", "Lépések"};
const char *const kFigureColumns[] = {"Kiinduló", "Hangolt", "Fél lépés", "Dupla lépés"};
const char *const kLogColumns[] = {
    "#",    "Szakasz",       "P1",         "P2",      "P3",     "P4", "P7",
    "ITAE", "Túllendülés %", "Beállás ms", "Költség", "Legjobb"};

QSpinBox *spin(int lo, int hi, int value, const QString &suffix = QString())
{
    auto *box = new QSpinBox;
    box->setRange(lo, hi);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

QString number(double v, int decimals = 0)
{
    return std::isfinite(v) ? QString::number(v, 'f', decimals) : QStringLiteral("–");
}

QTableWidget *table(int rows, const QStringList &columns)
{
    auto *t = new QTableWidget(rows, int(columns.size()));
    t->setHorizontalHeaderLabels(columns);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

} // namespace

TuningPanel::TuningPanel(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Automata hangolás"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildChoices());

    auto *buttons = new QHBoxLayout;
    m_start = new QPushButton(QStringLiteral("Indítás"));
    m_stop = new QPushButton(QStringLiteral("Stop"));
    m_accept = new QPushButton(QStringLiteral("Elfogad"));
    m_discard = new QPushButton(QStringLiteral("Elvet"));
    m_export = new QPushButton(QStringLiteral("Napló mentése (CSV)"));
    m_stop->setToolTip(
        QStringLiteral("A hangolás leállítása, a kiinduló értékek visszaírása (Esc)."));
    m_accept->setToolTip(
        QStringLiteral("A hangolt értékek az Új érték mezőkbe, és TESZT írás. Mentés: P-MENT / "
                       "Mind MENT."));
    m_discard->setToolTip(QStringLiteral("A hangolás előtti értékek visszaírása."));
    for (QPushButton *b : {m_start, m_stop, m_accept, m_discard, m_export})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    m_progress = new QProgressBar;
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("Nincs futó hangolás"));
    m_progress->setTextVisible(true);
    layout->addWidget(m_progress);
    m_status = new QLabel;
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    QStringList columns, rows;
    for (const char *c : kFigureColumns)
        columns << QString::fromUtf8(c);
    for (const char *r : kFigureRows)
        rows << QString::fromUtf8(r);
    m_figures = table(int(rows.size()), columns);
    m_figures->setVerticalHeaderLabels(rows);
    m_figures->setAccessibleName(QStringLiteral("Jellemzők"));

    auto *top = new QSplitter(Qt::Horizontal);
    top->addWidget(m_figures);
    top->addWidget(buildChart());

    QStringList logColumns;
    for (const char *c : kLogColumns)
        logColumns << QString::fromUtf8(c);
    m_log = table(0, logColumns);
    m_log->verticalHeader()->hide();
    m_log->setAccessibleName(QStringLiteral("Próbált erősítések"));

    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(top);
    split->addWidget(m_log);
    layout->addWidget(split, 1);

    connect(m_start, &QPushButton::clicked, this, [this] { emit startRequested(options()); });
    connect(m_stop, &QPushButton::clicked, this, &TuningPanel::stopRequested);
    connect(m_accept, &QPushButton::clicked, this, [this] { emit acceptRequested(m_tuned); });
    connect(m_discard, &QPushButton::clicked, this, &TuningPanel::discardRequested);
    connect(m_export, &QPushButton::clicked, this, &TuningPanel::exportRequested);
    setRunning(false);
    m_accept->setEnabled(false);
    m_discard->setEnabled(false);
    m_export->setEnabled(false);
}

QWidget *TuningPanel::buildChoices()
{
    auto *box = new QGroupBox(QStringLiteral("Beállítások"));
    auto *form = new QFormLayout(box);
    m_step = spin(1, 9999, TuningOptions{}.stepSteps, QStringLiteral(" lépés"));
    m_limit = spin(10, 32767, 3000, QStringLiteral(" impulzus"));
    m_torque = spin(0, 250, 0);
    m_torque->setSpecialValueText(QStringLiteral("változatlan"));
    m_aim = new QComboBox;
    m_aim->addItem(QStringLiteral("Nincs túllendülés"));
    m_aim->addItem(QStringLiteral("Kiegyensúlyozott (legfeljebb 5 %)"));
    m_aim->addItem(QStringLiteral("Gyors (legfeljebb 15 %)"));
    m_aim->setCurrentIndex(1);
    m_budget = spin(30, 900, 180, QStringLiteral(" s"));
    auto *gains = new QWidget;
    auto *gainRow = new QHBoxLayout(gains);
    gainRow->setContentsMargins(0, 0, 0, 0);
    m_tuneP = new QCheckBox(QStringLiteral("P2 (P)"));
    m_tuneI = new QCheckBox(QStringLiteral("P3 (I)"));
    m_tuneD = new QCheckBox(QStringLiteral("P7 (D)"));
    m_tuneV = new QCheckBox(QStringLiteral("P1 (sebesség-visszacsatolás)"));
    for (QCheckBox *c : {m_tuneP, m_tuneI, m_tuneD})
        c->setChecked(true);
    for (QCheckBox *c : {m_tuneP, m_tuneI, m_tuneD, m_tuneV})
        gainRow->addWidget(c);
    form->addRow(QStringLiteral("Lépés nagysága :"), m_step);
    form->addRow(QStringLiteral("Megengedett legnagyobb hiba :"), m_limit);
    form->addRow(QStringLiteral("Nyomaték korlát hangolás közben (P4) :"), m_torque);
    form->addRow(QStringLiteral("Cél :"), m_aim);
    form->addRow(QStringLiteral("Időkeret :"), m_budget);
    form->addRow(QStringLiteral("Hangolt erősítések :"), gains);
    return box;
}

QWidget *TuningPanel::buildChart()
{
    m_baselineSeries = new QLineSeries;
    m_baselineSeries->setName(QStringLiteral("Kiinduló"));
    m_resultSeries = new QLineSeries;
    m_resultSeries->setName(QStringLiteral("Hangolt"));
    // Blue and orange: told apart by the colour-blind too.
    m_baselineSeries->setColor(QColor(0x00, 0x72, 0xb2));
    m_resultSeries->setColor(QColor(0xe6, 0x9f, 0x00));
    auto *chart = new QChart;
    chart->addSeries(m_baselineSeries);
    chart->addSeries(m_resultSeries);
    auto *x = new QValueAxis;
    x->setTitleText(QStringLiteral("idő (ms)"));
    auto *y = new QValueAxis;
    y->setTitleText(QStringLiteral("hiba (impulzus)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *s : {m_baselineSeries, m_resultSeries}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    m_chart = new QChartView(chart);
    m_chart->setMinimumSize(360, 240);
    m_chart->setAccessibleName(QStringLiteral("Lépésválaszok"));
    return m_chart;
}

TuningOptions TuningPanel::options() const
{
    TuningOptions o;
    o.stepSteps = m_step->value();
    o.errorLimitCounts = m_limit->value();
    o.torqueCap = m_torque->value();
    o.aim = TuningAim(m_aim->currentIndex());
    o.budgetMs = m_budget->value() * 1000.0;
    o.tuneP = m_tuneP->isChecked();
    o.tuneI = m_tuneI->isChecked();
    o.tuneD = m_tuneD->isChecked();
    o.tuneVelocity = m_tuneV->isChecked();
    return o;
}

void TuningPanel::setStepSteps(int steps)
{
    m_step->setValue(steps);
}

void TuningPanel::setRunning(bool running)
{
    m_running = running;
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
    for (QWidget *w : std::initializer_list<QWidget *>{m_step, m_limit, m_torque, m_aim, m_budget,
                                                       m_tuneP, m_tuneI, m_tuneD, m_tuneV})
        w->setEnabled(!running);
}

void TuningPanel::tuningStarted()
{
    setRunning(true);
    m_accept->setEnabled(false);
    m_discard->setEnabled(false);
    m_entries.clear();
    m_log->setRowCount(0);
    m_baselineSeries->clear();
    m_resultSeries->clear();
    m_figures->clearContents();
    m_status->setText(QStringLiteral("A hangolás fut. Leállítás: Stop vagy Esc."));
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("Indul"));
}

void TuningPanel::showProgress(const TuningProgress &p)
{
    m_progress->setValue(int(p.fraction * 1000));
    m_progress->setFormat(QStringLiteral("%1 – hátra legfeljebb %2 s")
                              .arg(p.stage)
                              .arg(int(std::ceil(p.msLeft / 1000))));
}

void TuningPanel::addCandidate(const CandidateEntry &e)
{
    m_entries.push_back(e);
    const int row = m_log->rowCount();
    m_log->insertRow(row);
    const GainFigures &f = e.figures;
    const QStringList cells = {QString::number(e.index),
                               e.stage,
                               QString::number(e.params[1]),
                               QString::number(e.params[2]),
                               QString::number(e.params[3]),
                               QString::number(e.params[4]),
                               QString::number(e.params[7]),
                               number(f.itae),
                               number(f.overshootPct, 1),
                               number(f.settlingMs),
                               number(f.cost),
                               e.best ? QStringLiteral("igen") : QString()};
    for (int c = 0; c < int(cells.size()); ++c)
        m_log->setItem(row, c, new QTableWidgetItem(cells[c]));
    m_log->scrollToBottom();
    m_export->setEnabled(true);
}

void TuningPanel::showFigures(const TuningResult &r)
{
    const GainFigures *columns[] = {&r.baseline, &r.result, &r.halfStep, &r.doubleStep};
    for (int c = 0; c < 4; ++c) {
        const GainFigures &f = *columns[c];
        if (f.steps == 0)
            continue;
        const QString cells[] = {number(f.itae), number(f.overshootPct, 1), number(f.settlingMs),
                                 number(f.peakCounts), QString::number(f.steps)};
        for (int row = 0; row < 5; ++row)
            m_figures->setItem(row, c, new QTableWidgetItem(cells[row]));
    }
    auto fill = [](QLineSeries *s, const StepRecord &rec) {
        QList<QPointF> points;
        for (size_t i = 0; i < rec.tMs.size() && i < rec.error.size(); ++i)
            points.append(QPointF(rec.tMs[i], rec.error[i]));
        s->replace(points);
    };
    fill(m_baselineSeries, r.baselineRecord);
    fill(m_resultSeries, r.resultRecord);
    double tMax = 1, eMin = 0, eMax = 1;
    for (const StepRecord *rec : {&r.baselineRecord, &r.resultRecord}) {
        for (size_t i = 0; i < rec->tMs.size() && i < rec->error.size(); ++i) {
            tMax = std::max(tMax, rec->tMs[i]);
            eMin = std::min(eMin, rec->error[i]);
            eMax = std::max(eMax, rec->error[i]);
        }
    }
    const auto axes = m_chart->chart()->axes();
    if (axes.size() == 2) {
        axes[0]->setRange(0, tMax);
        axes[1]->setRange(eMin - 0.05 * (eMax - eMin), eMax + 0.05 * (eMax - eMin));
    }
}

void TuningPanel::tuningFinished(const TuningResult &r)
{
    setRunning(false);
    m_progress->setValue(1000);
    m_progress->setFormat(QStringLiteral("Vége"));
    showFigures(r);
    m_tuned = r.tuned;
    QString text = r.message;
    switch (r.outcome) {
    case TuningResult::Outcome::Tuned:
        text += QStringLiteral(" Az új értékek próbaként (TESZT) érvényesek: Elfogad vagy Elvet.");
        break;
    case TuningResult::Outcome::NoBetter:
    case TuningResult::Outcome::Aborted:
        if (r.snapshotKnown)
            text += r.restored ? QStringLiteral(" A kiinduló értékek vissza vannak írva.")
                               : QStringLiteral(" A kiinduló értékeket NEM sikerült visszaírni; "
                                                "a következő indításkor a program felajánlja.");
        break;
    }
    m_status->setText(text);
    const bool decide = r.outcome == TuningResult::Outcome::Tuned;
    m_accept->setEnabled(decide);
    m_discard->setEnabled(decide || (r.snapshotKnown && !r.restored));
}

void TuningPanel::decisionTaken(const QString &status)
{
    m_accept->setEnabled(false);
    m_discard->setEnabled(false);
    m_status->setText(status);
}

QByteArray TuningPanel::logCsv() const
{
    return tuningLogToCsv(m_entries);
}

void TuningPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_running) {
        emit stopRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TuningPanel::event(QEvent *event)
{
    // Whichever window holds the panel (its own, or the workbench's), its
    // closing stops a running tuning.
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Polish) {
        if (m_watched)
            m_watched->removeEventFilter(this);
        m_watched = window();
        m_watched->installEventFilter(this);
    }
    return QWidget::event(event);
}

bool TuningPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watched && m_running &&
        (event->type() == QEvent::Close || event->type() == QEvent::Hide))
        emit stopRequested();
    return QWidget::eventFilter(watched, event);
}

} // namespace kdx
