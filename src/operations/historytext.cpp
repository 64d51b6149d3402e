#include "historytext.h"

#include <QCoreApplication>
#include <QLocale>

namespace kdx {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("History", text);
}

} // namespace

QString historyKindName(HistoryKind kind)
{
    switch (kind) {
    case HistoryKind::Read:
        return tr("Kiolvasás");
    case HistoryKind::Write:
        return tr("Írás");
    case HistoryKind::Tuning:
        return tr("Hangolás");
    case HistoryKind::Capture:
        return tr("Felvétel");
    }
    return QString();
}

QString readOccasionName(ReadOccasion occasion)
{
    switch (occasion) {
    case ReadOccasion::Startup:
        return tr("indításkor");
    case ReadOccasion::Operator:
        return tr("Mind KIOLVAS");
    case ReadOccasion::LateController:
        return tr("késve megnyílt port");
    case ReadOccasion::Reconnect:
        return tr("újracsatlakozás után");
    case ReadOccasion::PortSwitch:
        return tr("portváltás után");
    case ReadOccasion::TuningSnapshot:
        return tr("hangolás előtti pillanatkép");
    case ReadOccasion::AfterRestore:
        return tr("visszaírás után");
    }
    return QString();
}

QString tuningOutcomeName(const QString &outcome)
{
    if (outcome == QLatin1String("tuned"))
        return tr("hangolva");
    if (outcome == QLatin1String("nobetter"))
        return tr("nem talált jobbat");
    if (outcome == QLatin1String("aborted"))
        return tr("megszakítva");
    if (outcome == QLatin1String("restored"))
        return tr("a hangolás előtti értékek visszaírva");
    if (outcome == QLatin1String("restorefailed"))
        return tr("a hangolás előtti értékeket nem sikerült visszaírni");
    return outcome;
}

QString tuningAimName(const QString &aim)
{
    if (aim == QLatin1String("noovershoot"))
        return tr("Nincs túllendülés");
    if (aim == QLatin1String("balanced"))
        return tr("Kiegyensúlyozott");
    if (aim == QLatin1String("fast"))
        return tr("Gyors");
    return aim;
}

QString axisTitle(const AxisKey &axis)
{
    if (axis.name.isEmpty())
        return tr("%1 (név nélkül)").arg(axis.port);
    return tr("%1 – %2").arg(axis.name, axis.port);
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
        return tr("P0..P7 kiolvasva (%1)").arg(readOccasionName(e.occasion));
    case HistoryKind::Write: {
        const QString what = e.stored ? tr("P%1 mentés (W 0): %2 → %3") : tr("P%1 próba: %2 → %3");
        QString text = what.arg(e.param).arg(shownValue(e.before), shownValue(e.sent));
        if (e.readBack.trimmed() != e.sent.trimmed())
            text += tr(" (visszaolvasva: %1)").arg(shownValue(e.readBack));
        return text;
    }
    case HistoryKind::Tuning:
        return e.message.isEmpty()
                   ? tr("Automata hangolás: %1").arg(tuningOutcomeName(e.outcome))
                   : tr("Automata hangolás: %1 – %2").arg(tuningOutcomeName(e.outcome), e.message);
    case HistoryKind::Capture: {
        QString text = tr("Lépésválasz %1%2 lépés, %3 ms, %4 mérés")
                           .arg(e.steps > 0 ? QStringLiteral("+") : QString())
                           .arg(e.steps)
                           .arg(QLocale().toString(e.windowMs, 'f', 0))
                           .arg(e.readings);
        if (!e.complete)
            text += tr(" [hiányos]");
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
