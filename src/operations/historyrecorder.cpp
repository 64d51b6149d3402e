#include "historyrecorder.h"

#include "core/tuninglogcsv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace kdx {

namespace {

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(HistoryRecorder)
};

ParamTexts textsOf(const ParamNumbers &values)
{
    ParamTexts texts;
    for (std::size_t n = 0; n < texts.size(); ++n)
        texts[n] = QString::number(values[n]);
    return texts;
}

QJsonArray arrayOf(const ParamNumbers &values)
{
    QJsonArray array;
    for (int v : values)
        array.append(v);
    return array;
}

QJsonObject figuresOf(const GainFigures &f)
{
    return {{QStringLiteral("itae"), f.itae},
            {QStringLiteral("overshootPct"), f.overshootPct},
            {QStringLiteral("settlingMs"), f.settlingMs},
            {QStringLiteral("peakCounts"), f.peakCounts},
            {QStringLiteral("settles"), f.settles},
            {QStringLiteral("steps"), f.steps}};
}

QString aimKey(TuningAim aim)
{
    switch (aim) {
    case TuningAim::NoOvershoot:
        return QStringLiteral("noovershoot");
    case TuningAim::Balanced:
        return QStringLiteral("balanced");
    case TuningAim::Fast:
        return QStringLiteral("fast");
    }
    return QString();
}

QString outcomeKey(TuningResult::Outcome outcome)
{
    switch (outcome) {
    case TuningResult::Outcome::Tuned:
        return QStringLiteral("tuned");
    case TuningResult::Outcome::NoBetter:
        return QStringLiteral("nobetter");
    case TuningResult::Outcome::Aborted:
        return QStringLiteral("aborted");
    }
    return QString();
}

// A record the tuner measured, as a capture of its own.
Capture recordCapture(const StepRecord &record, const TuningResult &result, bool tuned,
                      const QString &label)
{
    Capture c;
    c.label = label;
    c.params = tuned ? result.tuned : result.snapshot;
    c.paramsKnown = result.snapshotKnown;
    c.steps = result.stepSteps;
    c.record = record;
    return c;
}

} // namespace

TuningEntry tuningEntry(const TuningOptions &options, const TuningResult &result)
{
    TuningEntry t;
    QJsonArray gains;
    for (const auto &[on, n] :
         {std::pair{options.tuneP, 2}, std::pair{options.tuneI, 3}, std::pair{options.tuneD, 7}})
        if (on)
            gains.append(n);
    t.options = {{QStringLiteral("aim"), aimKey(options.aim)},
                 {QStringLiteral("stepSteps"), options.stepSteps},
                 {QStringLiteral("errorLimitCounts"), options.errorLimitCounts},
                 {QStringLiteral("torqueCap"), options.torqueCap},
                 {QStringLiteral("budgetMs"), options.budgetMs},
                 {QStringLiteral("maxSteps"), options.maxSteps},
                 {QStringLiteral("windowMs"), options.windowMs},
                 {QStringLiteral("gains"), gains}};
    t.outcome = outcomeKey(result.outcome);
    t.message = result.message;
    t.result = {{QStringLiteral("baseline"), figuresOf(result.baseline)},
                {QStringLiteral("result"), figuresOf(result.result)},
                {QStringLiteral("halfStep"), figuresOf(result.halfStep)},
                {QStringLiteral("doubleStep"), figuresOf(result.doubleStep)},
                {QStringLiteral("noiseCounts"), result.noiseCounts},
                {QStringLiteral("sampleRateHz"), result.sampleRateHz},
                {QStringLiteral("stepSteps"), result.stepSteps},
                {QStringLiteral("stepsUsed"), result.stepsUsed},
                {QStringLiteral("elapsedMs"), result.elapsedMs},
                {QStringLiteral("restored"), result.restored},
                {QStringLiteral("aimMet"), result.aimMet},
                {QStringLiteral("fitErrorPct"), result.fitErrorPct},
                {QStringLiteral("pMargin"), result.pMargin},
                {QStringLiteral("corrections"), result.corrections}};
    if (result.snapshotKnown) {
        t.result[QStringLiteral("snapshot")] = arrayOf(result.snapshot);
        t.result[QStringLiteral("tuned")] = arrayOf(result.tuned);
    }
    t.logCsv = tuningLogToCsv(result.log);
    if (!result.baselineRecord.tMs.empty())
        t.records.push_back(
            recordCapture(result.baselineRecord, result, false, Texts::tr("Hangolás előtt")));
    if (!result.resultRecord.tMs.empty())
        t.records.push_back(
            recordCapture(result.resultRecord, result, true, Texts::tr("Hangolás után")));
    return t;
}

HistoryRecorder::HistoryRecorder(QObject *parent) : QObject(parent) {}

HistoryRecorder::~HistoryRecorder() = default;

void HistoryRecorder::open(const QString &path, const HistoryStore::Options &options)
{
    m_store.reset();
    if (path.isEmpty())
        return;
    m_store = std::make_unique<HistoryStore>(path, options);
    if (!m_store->isWritable())
        tellUnusable();
    else if (!m_store->setAsidePath().isEmpty())
        tellOnce(Texts::tr("Előzmények: a sérült adatbázis félretéve (%1), új adatbázis indult.")
                     .arg(QFileInfo(m_store->setAsidePath()).fileName()));
}

void HistoryRecorder::setPlace(const AxisKey &axis)
{
    const bool naming = axis.port == m_place.port && m_place.name.isEmpty() && !axis.name.isEmpty();
    m_place = axis;
    if (!naming)
        return;
    bool named = false;
    for (HistoryEvent &e : m_journal) {
        if (e.axis.port == axis.port && e.axis.name.isEmpty()) {
            e.axis.name = axis.name;
            named = true;
        }
    }
    if (!named)
        return;
    if (isRecording() && !m_store->nameAxis(axis.port, axis.name))
        tellUnusable();
    emit axisNamed();
}

void HistoryRecorder::tellUnusable()
{
    tellOnce(
        Texts::tr("Előzmények: az adatbázis (%1) %2. A terminál előzmények nélkül dolgozik tovább.")
            .arg(QDir::toNativeSeparators(m_store->path()), m_store->problemText()));
}

void HistoryRecorder::tellOnce(const QString &text)
{
    if (std::exchange(m_told, true))
        return;
    emit problem(text);
}

void HistoryRecorder::keep(HistoryEvent event)
{
    event.axis = m_place;
    if (!event.at.isValid())
        event.at = QDateTime::currentDateTime();
    if (m_store && m_store->isWritable()) {
        event.session = m_store->session();
        event.id = m_store->add(event);
        if (event.id == 0)
            tellUnusable();
    }
    m_journal.push_back(event);
    emit recorded(m_journal.back());
}

std::vector<HistoryEvent> HistoryRecorder::journalOf(const AxisKey &axis) const
{
    std::vector<HistoryEvent> out;
    for (const HistoryEvent &e : m_journal)
        if (e.axis == axis)
            out.push_back(e);
    return out;
}

void HistoryRecorder::setRead(const ParamTexts &values)
{
    HistoryEvent e;
    e.kind = HistoryKind::Read;
    e.occasion = std::exchange(m_occasion, ReadOccasion::Operator);
    for (std::size_t n = 0; n < values.size(); ++n)
        e.set[n] = values[n].trimmed();
    keep(e);
}

void HistoryRecorder::written(const WriteRecord &write)
{
    HistoryEvent e;
    e.kind = HistoryKind::Write;
    e.param = write.param;
    e.before = write.before.trimmed();
    e.sent = write.sent.trimmed();
    e.stored = write.stored;
    e.readBack = write.readBack.trimmed();
    for (std::size_t n = 0; n < write.current.size(); ++n)
        e.set[n] = write.current[n].trimmed();
    keep(e);
}

void HistoryRecorder::snapshotRead(const ParamNumbers &values)
{
    HistoryEvent e;
    e.kind = HistoryKind::Read;
    e.occasion = ReadOccasion::TuningSnapshot;
    e.set = textsOf(values);
    keep(e);
}

void HistoryRecorder::tuned(const TuningOptions &options, const TuningResult &result)
{
    HistoryEvent e;
    e.kind = HistoryKind::Tuning;
    e.tuning = tuningEntry(options, result);
    e.outcome = e.tuning->outcome;
    e.message = e.tuning->message;
    // What is in force once the tuner has left, as far as it is known.
    if (result.outcome == TuningResult::Outcome::Tuned)
        e.set = textsOf(result.tuned);
    else if (result.restored)
        e.set = textsOf(result.snapshot);
    keep(e);
}

void HistoryRecorder::restored(const ParamNumbers &values, bool ok)
{
    HistoryEvent e;
    e.kind = HistoryKind::Tuning;
    TuningEntry t;
    t.outcome = ok ? QStringLiteral("restored") : QStringLiteral("restorefailed");
    t.result = {{QStringLiteral("snapshot"), arrayOf(values)}};
    e.outcome = t.outcome;
    e.tuning = t;
    if (ok)
        e.set = textsOf(values);
    keep(e);
}

void HistoryRecorder::captured(const Capture &capture)
{
    HistoryEvent e;
    e.kind = HistoryKind::Capture;
    if (capture.takenAt.isValid())
        e.at = capture.takenAt;
    if (capture.paramsKnown)
        e.set = textsOf(capture.params);
    e.steps = capture.steps;
    e.windowMs = capture.record.windowMs;
    e.readings = int(capture.record.tMs.size());
    e.complete = capture.record.complete;
    e.capture = capture;
    keep(e);
}

} // namespace kdx
