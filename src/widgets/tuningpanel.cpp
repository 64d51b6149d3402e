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
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>
#include <iterator>

namespace kdx {

namespace {

// In Hungarian; shown in the language in use.
const char *const kFigureRows[] = {
    "ITAE (ms²)", QT_TRANSLATE_NOOP("kdx::TuningPanel", "Túllendülés (%)"),
    QT_TRANSLATE_NOOP("kdx::TuningPanel", "Beállási idő (ms)"),
    QT_TRANSLATE_NOOP("kdx::TuningPanel", "Legnagyobb hiba (impulzus)"),
    QT_TRANSLATE_NOOP("kdx::TuningPanel", "Lépések")};
const char *const kFigureColumns[] = {QT_TRANSLATE_NOOP("kdx::TuningPanel", "Kiinduló"),
                                      QT_TRANSLATE_NOOP("kdx::TuningPanel", "Hangolt"),
                                      QT_TRANSLATE_NOOP("kdx::TuningPanel", "Fél lépés"),
                                      QT_TRANSLATE_NOOP("kdx::TuningPanel", "Dupla lépés"),
                                      QT_TRANSLATE_NOOP("kdx::TuningPanel", "Modell szerint")};
const char *const kLogColumns[] = {"#",
                                   QT_TRANSLATE_NOOP("kdx::TuningPanel", "Szakasz"),
                                   "P1",
                                   "P2",
                                   "P3",
                                   "P4",
                                   "P7",
                                   "ITAE",
                                   QT_TRANSLATE_NOOP("kdx::TuningPanel", "Túllendülés %"),
                                   QT_TRANSLATE_NOOP("kdx::TuningPanel", "Beállás ms"),
                                   QT_TRANSLATE_NOOP("kdx::TuningPanel", "Beáll"),
                                   QT_TRANSLATE_NOOP("kdx::TuningPanel", "Célt tartja")};
// Colours told apart by the colour-blind too, one per fitted step.
const QColor kFitColours[] = {QColor(0x00, 0x72, 0xb2), QColor(0xe6, 0x9f, 0x00),
                              QColor(0x00, 0x9e, 0x73), QColor(0xcc, 0x79, 0xa7),
                              QColor(0x56, 0xb4, 0xe9), QColor(0xd5, 0x5e, 0x00)};

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
    setWindowTitle(tr("Automata hangolás"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildChoices());

    auto *buttons = new QHBoxLayout;
    m_start = new QPushButton(tr("Indítás"));
    m_stop = new QPushButton(tr("Stop"));
    m_accept = new QPushButton(tr("Elfogad"));
    m_discard = new QPushButton(tr("Elvet"));
    m_export = new QPushButton(tr("Napló mentése (CSV)"));
    m_stop->setToolTip(tr("A hangolás leállítása, a kiinduló értékek visszaírása (Esc)."));
    m_accept->setToolTip(
        tr("A hangolt értékek az Új érték mezőkbe, és TESZT írás. Mentés: P-MENT / "
           "Mind MENT."));
    m_discard->setToolTip(tr("A hangolás előtti értékek visszaírása."));
    for (QPushButton *b : {m_start, m_stop, m_accept, m_discard, m_export})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    m_progress = new QProgressBar;
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setFormat(tr("Nincs futó hangolás"));
    m_progress->setTextVisible(true);
    layout->addWidget(m_progress);
    m_status = new QLabel;
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    QStringList columns, rows;
    for (const char *c : kFigureColumns)
        columns << tr(c);
    for (const char *r : kFigureRows)
        rows << tr(r);
    m_figures = table(int(rows.size()), columns);
    m_figures->setVerticalHeaderLabels(rows);
    m_figures->setAccessibleName(tr("Jellemzők"));

    auto *left = new QWidget;
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_figures);
    m_model = new QLabel;
    m_model->setWordWrap(true);
    m_model->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_model->setAccessibleName(tr("A modell"));
    leftLayout->addWidget(m_model);
    auto *charts = new QTabWidget;
    charts->addTab(buildChart(), tr("Lépésválaszok"));
    charts->addTab(buildFitChart(), tr("Modell illesztése"));
    auto *top = new QSplitter(Qt::Horizontal);
    top->addWidget(left);
    top->addWidget(charts);

    QStringList logColumns;
    for (const char *c : kLogColumns)
        logColumns << tr(c);
    m_log = table(0, logColumns);
    m_log->verticalHeader()->hide();
    m_log->setAccessibleName(tr("Próbált erősítések"));

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
    auto *box = new QGroupBox(tr("Beállítások"));
    auto *form = new QFormLayout(box);
    m_step = spin(1, 9999, TuningOptions{}.stepSteps, tr(" lépés"));
    m_limit = spin(10, 32767, 3000, tr(" impulzus"));
    m_torque = spin(0, 250, 0);
    m_torque->setSpecialValueText(tr("változatlan"));
    m_aim = new QComboBox;
    m_aim->addItem(tr("Nincs túllendülés"));
    m_aim->addItem(tr("Kiegyensúlyozott (legfeljebb 5 %)"));
    m_aim->addItem(tr("Gyors (legfeljebb 15 %)"));
    m_aim->setCurrentIndex(1);
    m_budget = spin(30, 900, 180, QStringLiteral(" s"));
    auto *gains = new QWidget;
    auto *gainRow = new QHBoxLayout(gains);
    gainRow->setContentsMargins(0, 0, 0, 0);
    m_tuneP = new QCheckBox(QStringLiteral("P2 (P)"));
    m_tuneI = new QCheckBox(QStringLiteral("P3 (I)"));
    m_tuneD = new QCheckBox(QStringLiteral("P7 (D)"));
    for (QCheckBox *c : {m_tuneP, m_tuneI, m_tuneD}) {
        c->setChecked(true);
        gainRow->addWidget(c);
    }
    form->addRow(tr("Lépés nagysága :"), m_step);
    form->addRow(tr("Megengedett legnagyobb hiba :"), m_limit);
    form->addRow(tr("Nyomaték korlát hangolás közben (P4) :"), m_torque);
    form->addRow(tr("Cél :"), m_aim);
    form->addRow(tr("Időkeret :"), m_budget);
    form->addRow(tr("Hangolt erősítések :"), gains);
    return box;
}

QWidget *TuningPanel::buildChart()
{
    m_baselineSeries = new QLineSeries;
    m_baselineSeries->setName(tr("Kiinduló"));
    m_resultSeries = new QLineSeries;
    m_resultSeries->setName(tr("Hangolt"));
    // Blue and orange: told apart by the colour-blind too.
    m_baselineSeries->setColor(QColor(0x00, 0x72, 0xb2));
    m_resultSeries->setColor(QColor(0xe6, 0x9f, 0x00));
    auto *chart = new QChart;
    chart->addSeries(m_baselineSeries);
    chart->addSeries(m_resultSeries);
    auto *x = new QValueAxis;
    x->setTitleText(tr("idő (ms)"));
    auto *y = new QValueAxis;
    y->setTitleText(tr("hiba (impulzus)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *s : {m_baselineSeries, m_resultSeries}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    m_chart = new QChartView(chart);
    m_chart->setMinimumSize(360, 240);
    m_chart->setAccessibleName(tr("Lépésválaszok"));
    return m_chart;
}

QWidget *TuningPanel::buildFitChart()
{
    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignRight);
    m_fitChart = new QChartView(chart);
    m_fitChart->setMinimumSize(360, 240);
    m_fitChart->setAccessibleName(tr("Mért lépések és a modell"));
    return m_fitChart;
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
                                                       m_tuneP, m_tuneI, m_tuneD})
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
    m_fitChart->chart()->removeAllSeries();
    m_model->clear();
    m_figures->clearContents();
    m_status->setText(tr("A hangolás fut. Leállítás: Stop vagy Esc."));
    m_progress->setValue(0);
    m_progress->setFormat(tr("Indul"));
}

void TuningPanel::showProgress(const TuningProgress &p)
{
    m_progress->setValue(int(p.fraction * 1000));
    m_progress->setFormat(
        tr("%1 – hátra legfeljebb %2 s").arg(p.stage).arg(int(std::ceil(p.msLeft / 1000))));
}

void TuningPanel::addCandidate(const CandidateEntry &e)
{
    m_entries.push_back(e);
    const int row = m_log->rowCount();
    m_log->insertRow(row);
    const GainFigures &f = e.figures;
    const QStringList cells = {QString::number(e.index),           e.stage,
                               QString::number(e.params[1]),       QString::number(e.params[2]),
                               QString::number(e.params[3]),       QString::number(e.params[4]),
                               QString::number(e.params[7]),       number(f.itae),
                               number(f.overshootPct, 1),          number(f.settlingMs),
                               f.settles ? tr("igen") : tr("nem"), e.best ? tr("igen") : QString()};
    for (int c = 0; c < int(cells.size()); ++c)
        m_log->setItem(row, c, new QTableWidgetItem(cells[c]));
    m_log->scrollToBottom();
    m_export->setEnabled(true);
}

void TuningPanel::showFigures(const TuningResult &r)
{
    const GainFigures *columns[] = {&r.baseline, &r.result, &r.halfStep, &r.doubleStep,
                                    &r.predicted};
    for (int c = 0; c < 5; ++c) {
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
    showFit(r);
}

void TuningPanel::showFit(const TuningResult &r)
{
    QChart *chart = m_fitChart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *a : chart->axes())
        chart->removeAxis(a);
    if (r.fitMeasured.empty()) {
        m_model->setText(QString());
        return;
    }
    // Each forward step as measured (solid) and as the model has it (dashed),
    // in % of its step so that every size fits one picture.
    double tMax = 1, lo = 0, hi = 1;
    int shown = 0;
    auto *x = new QValueAxis;
    x->setTitleText(tr("idő (ms)"));
    auto *y = new QValueAxis;
    y->setTitleText(tr("hiba (a lépés %-a)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (size_t k = 0; k < r.fitMeasured.size() && k < r.fitPredicted.size(); ++k) {
        const StepRecord &m = r.fitMeasured[k];
        const StepRecord &p = r.fitPredicted[k];
        if (m.stepCounts <= 0 || shown >= int(std::size(kFitColours)))
            continue;
        const QColor colour = kFitColours[shown++];
        auto *measured = new QLineSeries;
        auto *predicted = new QLineSeries;
        measured->setName(tr("%1 mért").arg(m.stepCounts, 0, 'f', 0));
        predicted->setName(tr("%1 modell").arg(m.stepCounts, 0, 'f', 0));
        measured->setColor(colour);
        QPen dashed(colour);
        dashed.setStyle(Qt::DashLine);
        dashed.setWidthF(1.5);
        predicted->setPen(dashed);
        QList<QPointF> a, b;
        for (size_t i = 0; i < m.tMs.size() && i < m.error.size() && i < p.error.size(); ++i) {
            const double em = 100 * m.error[i] / m.stepCounts;
            const double ep = 100 * p.error[i] / m.stepCounts;
            a.append(QPointF(m.tMs[i], em));
            b.append(QPointF(m.tMs[i], ep));
            // The picture ends a while after the last move worth seeing.
            if (std::abs(em) > 2 || std::abs(ep) > 2)
                tMax = std::max(tMax, m.tMs[i]);
            lo = std::min({lo, em, ep});
            hi = std::max({hi, em, ep});
        }
        measured->replace(a);
        predicted->replace(b);
        for (QLineSeries *s : {measured, predicted}) {
            chart->addSeries(s);
            s->attachAxis(x);
            s->attachAxis(y);
        }
    }
    x->setRange(0, std::max(20.0, std::ceil(1.5 * tMax / 10) * 10));
    y->setRange(std::max(lo, -150.0), std::min(hi, 150.0));
    m_model->setText(
        tr("Modell: illesztési hiba %1 %, a tengely sávszélessége a modell szerint %2 "
           "Hz; P tartalék: %3-szor nagyobb P erősítésnél lengene. Javítások: %4.")
            .arg(number(r.fitErrorPct, 1), number(r.crossoverHz, 0), number(r.pMargin, 1))
            .arg(r.corrections));
}

void TuningPanel::tuningFinished(const TuningResult &r)
{
    setRunning(false);
    m_progress->setValue(1000);
    m_progress->setFormat(tr("Vége"));
    showFigures(r);
    m_tuned = r.tuned;
    QString text = r.message;
    switch (r.outcome) {
    case TuningResult::Outcome::Tuned:
        text += tr(" Az új értékek próbaként (TESZT) érvényesek: Elfogad vagy Elvet.");
        break;
    case TuningResult::Outcome::NoBetter:
    case TuningResult::Outcome::Aborted:
        if (r.snapshotKnown)
            text += r.restored ? tr(" A kiinduló értékek vissza vannak írva.")
                               : tr(" A kiinduló értékeket NEM sikerült visszaírni; "
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
