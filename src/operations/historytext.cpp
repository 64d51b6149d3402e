#include "historytext.h"

#include "link/simulatedopener.h"

#include <QCoreApplication>
#include <QLocale>

namespace kdx {

namespace {

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(History)
};

} // namespace

QString historyKindName(HistoryKind kind)
{
    switch (kind) {
    case HistoryKind::Read:
        return Texts::tr("Kiolvasás");
    case HistoryKind::Write:
        return Texts::tr("Írás");
    case HistoryKind::Tuning:
        return Texts::tr("Hangolás");
    case HistoryKind::Capture:
        return Texts::tr("Felvétel");
    }
    return QString();
}

QString readOccasionName(ReadOccasion occasion)
{
    switch (occasion) {
    case ReadOccasion::Startup:
        return Texts::tr("indításkor");
    case ReadOccasion::Operator:
        return Texts::tr("Mind KIOLVAS");
    case ReadOccasion::LateController:
        return Texts::tr("késve megnyílt port");
    case ReadOccasion::Reconnect:
        return Texts::tr("újracsatlakozás után");
    case ReadOccasion::PortSwitch:
        return Texts::tr("portváltás után");
    case ReadOccasion::TuningSnapshot:
        return Texts::tr("hangolás előtti pillanatkép");
    case ReadOccasion::AfterRestore:
        return Texts::tr("visszaírás után");
    }
    return QString();
}

QString tuningOutcomeName(const QString &outcome)
{
    if (outcome == QLatin1String("tuned"))
        return Texts::tr("hangolva");
    if (outcome == QLatin1String("nobetter"))
        return Texts::tr("nem talált jobbat");
    if (outcome == QLatin1String("aborted"))
        return Texts::tr("megszakítva");
    if (outcome == QLatin1String("restored"))
        return Texts::tr("a hangolás előtti értékek visszaírva");
    if (outcome == QLatin1String("restorefailed"))
        return Texts::tr("a hangolás előtti értékeket nem sikerült visszaírni");
    return outcome;
}

QString tuningAimName(const QString &aim)
{
    if (aim == QLatin1String("noovershoot"))
        return Texts::tr("Nincs túllendülés");
    if (aim == QLatin1String("balanced"))
        return Texts::tr("Kiegyensúlyozott");
    if (aim == QLatin1String("fast"))
        return Texts::tr("Gyors");
    return aim;
}

QString axisTitle(const AxisKey &axis)
{
    if (axis.name.isEmpty())
        return Texts::tr("%1 (név nélkül)").arg(SimulatedOpener::shownPortName(axis.port));
    return Texts::tr("%1 – %2").arg(axis.name, SimulatedOpener::shownPortName(axis.port));
}

QString eventTimeText(const QDateTime &at)
{
    return QLocale().toString(at, Texts::tr("yyyy.MM.dd. HH:mm:ss", "date and time format"));
}

QString shownValue(const QString &value)
{
    const QString v = value.trimmed();
    return v.isEmpty() ? QStringLiteral("–") : v;
}

QString valueChange(const QString &a, const QString &b)
{
    const QString x = a.trimmed(), y = b.trimmed();
    if (x.isEmpty() && y.isEmpty())
        return QString();
    bool okX = false, okY = false;
    const qlonglong from = x.toLongLong(&okX), to = y.toLongLong(&okY);
    if (!okX || !okY)
        return x == y ? QStringLiteral("0") : QStringLiteral("≠");
    const qlonglong d = to - from;
    if (d == 0)
        return QStringLiteral("0");
    return d > 0 ? QStringLiteral("+%1").arg(d) : QStringLiteral("−%1").arg(-d);
}

QString historySummary(const HistoryEvent &e)
{
    switch (e.kind) {
    case HistoryKind::Read:
        return Texts::tr("P0..P7 kiolvasva (%1)").arg(readOccasionName(e.occasion));
    case HistoryKind::Write: {
        const QString what =
            e.stored ? Texts::tr("P%1 mentés (W 0): %2 → %3") : Texts::tr("P%1 próba: %2 → %3");
        QString text = what.arg(e.param).arg(shownValue(e.before), shownValue(e.sent));
        if (e.readBack.trimmed() != e.sent.trimmed())
            text += Texts::tr(" (visszaolvasva: %1)").arg(shownValue(e.readBack));
        return text;
    }
    case HistoryKind::Tuning:
        return e.message.isEmpty()
                   ? Texts::tr("Automata hangolás: %1").arg(tuningOutcomeName(e.outcome))
                   : Texts::tr("Automata hangolás: %1 – %2")
                         .arg(tuningOutcomeName(e.outcome), e.message);
    case HistoryKind::Capture: {
        QString text = Texts::tr("Lépésválasz %1%2 lépés, %3 ms, %4 mérés")
                           .arg(e.steps > 0 ? QStringLiteral("+") : QString())
                           .arg(e.steps)
                           .arg(QLocale().toString(e.windowMs, 'f', 0))
                           .arg(e.readings);
        if (!e.complete)
            text += Texts::tr(" [hiányos]");
        return text;
    }
    }
    return QString();
}

} // namespace kdx

namespace kdx {

namespace {

QByteArray csvField(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
        bytes.contains('\r')) {
        bytes.replace('"', "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

const char *kindKey(HistoryKind kind)
{
    switch (kind) {
    case HistoryKind::Read:
        return "read";
    case HistoryKind::Write:
        return "write";
    case HistoryKind::Tuning:
        return "tuning";
    case HistoryKind::Capture:
        return "capture";
    }
    return "";
}

const char *occasionKey(ReadOccasion occasion)
{
    switch (occasion) {
    case ReadOccasion::Startup:
        return "startup";
    case ReadOccasion::Operator:
        return "read_all";
    case ReadOccasion::LateController:
        return "late_port";
    case ReadOccasion::Reconnect:
        return "reconnect";
    case ReadOccasion::PortSwitch:
        return "port_switch";
    case ReadOccasion::TuningSnapshot:
        return "tuning_snapshot";
    case ReadOccasion::AfterRestore:
        return "after_restore";
    }
    return "";
}

} // namespace

QByteArray historyToCsv(const std::vector<HistoryEvent> &events)
{
    QByteArray out = "id,time,port,axis,kind,occasion,param,before,sent,stored,read_back,steps,"
                     "window_ms,readings,complete,outcome,summary,P0,P1,P2,P3,P4,P5,P6,P7\n";
    for (const HistoryEvent &e : events) {
        const bool write = e.kind == HistoryKind::Write;
        const bool capture = e.kind == HistoryKind::Capture;
        QByteArrayList row;
        row << QByteArray::number(e.id)
            << csvField(e.at.toOffsetFromUtc(e.at.offsetFromUtc()).toString(Qt::ISODateWithMs))
            << csvField(e.axis.port) << csvField(e.axis.name) << kindKey(e.kind)
            << (e.kind == HistoryKind::Read ? occasionKey(e.occasion) : "")
            << (write ? QByteArray::number(e.param) : QByteArray()) << csvField(e.before)
            << csvField(e.sent) << (write ? QByteArray(e.stored ? "yes" : "no") : QByteArray())
            << csvField(e.readBack) << (capture ? QByteArray::number(e.steps) : QByteArray())
            << (capture ? QByteArray::number(e.windowMs, 'g', QLocale::FloatingPointShortest)
                        : QByteArray())
            << (capture ? QByteArray::number(e.readings) : QByteArray())
            << (capture ? QByteArray(e.complete ? "yes" : "no") : QByteArray())
            << csvField(e.outcome) << csvField(historySummary(e));
        for (const QString &value : e.set)
            row << csvField(value);
        out += row.join(',') + '\n';
    }
    return out;
}

} // namespace kdx
