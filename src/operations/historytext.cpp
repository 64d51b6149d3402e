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
