#include "commissioningreport.h"

#include "core/language.h"
#include "core/stepfigures.h"
#include "link/simulatedopener.h"
#include "operations/historytext.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {

// At most this many writes are listed: the report stays within two pages.
constexpr int kWritesListed = 18;
const QColor kBeforeColour(0x00, 0x72, 0xB2); // blue
const QColor kAfterColour(0xD5, 0x5E, 0x00);  // vermillion
const char *const kChartResource = "kdx-report-chart.png";

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(CommissioningReport)
};

QString escaped(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString number(double v, int decimals)
{
    return std::isfinite(v) ? QLocale().toString(v, 'f', decimals) : QStringLiteral("–");
}

QString timeOf(const QDateTime &at)
{
    return QLocale().toString(at, QStringLiteral("HH:mm:ss"));
}

bool anyKnown(const ParamTexts &set)
{
    return std::any_of(set.begin(), set.end(), [](const QString &v) { return !v.isEmpty(); });
}

// A capture as a forward step: a backward one with its errors turned over.
Capture forwards(Capture c)
{
    if (c.record.stepCounts < 0) {
        c.record.stepCounts = -c.record.stepCounts;
        for (double &e : c.record.error)
            e = -e;
    }
    return c;
}

// 1, 2 or 5 times a power of ten, about a fifth of the span.
double tickStep(double span)
{
    if (!(span > 0))
        return 1;
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

struct Row {
    const char *name;
    double StepFigures::*field;
    int decimals;
    bool signedBySteps; // turned over for a backward step
};
const Row kFigureRows[] = {
    {QT_TRANSLATE_NOOP("CommissioningReport", "Csúcshiba (impulzus)"), &StepFigures::peakError, 0,
     true},
    {QT_TRANSLATE_NOOP("CommissioningReport", "Túllövés (%)"), &StepFigures::overshootPct, 1,
     false},
    {QT_TRANSLATE_NOOP("CommissioningReport", "Csúcsidő (ms)"), &StepFigures::timeToPeakMs, 1,
     false},
    {QT_TRANSLATE_NOOP("CommissioningReport", "Felfutási idő (ms)"), &StepFigures::riseTimeMs, 1,
     false},
    {QT_TRANSLATE_NOOP("CommissioningReport", "Beállási idő (ms)"), &StepFigures::settlingTimeMs, 1,
     false},
    {QT_TRANSLATE_NOOP("CommissioningReport", "Maradó hiba (impulzus)"),
     &StepFigures::steadyStateError, 1, true},
    {QT_TRANSLATE_NOOP("CommissioningReport", "IAE (ms)"), &StepFigures::iae, 2, false},
    {QT_TRANSLATE_NOOP("CommissioningReport", "ITAE (ms²)"), &StepFigures::itae, 0, false},
    {QT_TRANSLATE_NOOP("CommissioningReport", "Mintavétel (1/s)"), &StepFigures::sampleRateHz, 0,
     false},
};

QString figure(const StepFigures &f, const Row &row)
{
    double v = f.*row.field;
    if (row.signedBySteps && f.stepCounts < 0)
        v = -v;
    return number(v, row.decimals);
}

QString cell(const QString &text, bool right = false)
{
    return (right ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>")) + text +
           QStringLiteral("</td>");
}

QString headerRow(const QStringList &names)
{
    QString row = QStringLiteral("<tr>");
    for (const QString &name : names)
        row += QStringLiteral("<th bgcolor=\"#e4e4e4\" align=\"left\">%1</th>").arg(escaped(name));
    return row + QStringLiteral("</tr>");
}

const char *const kTable =
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" style=\"border-collapse: collapse; "
    "border-color: #888888; border-style: solid;\" width=\"100%\">";

QString gainsChange(const TuningEntry &t)
{
    const QJsonArray before = t.result.value(QStringLiteral("snapshot")).toArray();
    const QJsonArray after = t.result.value(QStringLiteral("tuned")).toArray();
    QStringList parts;
    for (const QJsonValue &gain : t.options.value(QStringLiteral("gains")).toArray()) {
        const int n = gain.toInt();
        if (n < 0 || n >= before.size() || n >= after.size())
            continue;
        parts << QStringLiteral("P%1: %2 → %3").arg(n).arg(before[n].toInt()).arg(after[n].toInt());
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString standingName(ValueStanding standing)
{
    switch (standing) {
    case ValueStanding::Unchanged:
        return Texts::tr("változatlan");
    case ValueStanding::Stored:
        return Texts::tr("tárolva (W 0)");
    case ValueStanding::Test:
        return Texts::tr("csak próba (TESZT)");
    case ValueStanding::TestByTuning:
        return Texts::tr("csak próba (hangolás)");
    case ValueStanding::Read:
        return Texts::tr("kiolvasva");
    }
    return QString();
}

ReportContent reportContent(const ReportInput &input)
{
    ReportContent c;
    c.standing.fill(ValueStanding::Unchanged);
    ParamTexts known;
    bool foundYet = false;
    std::vector<Capture> responses;
    for (const HistoryEvent &e : input.events) {
        if (!foundYet && anyKnown(e.set)) {
            // A write's set is what it left; before it the value was another.
            c.found = e.set;
            if (e.kind == HistoryKind::Write && e.param >= 0 && e.param < kParamCount)
                c.found[std::size_t(e.param)] = e.before;
            foundYet = true;
        }
        for (int n = 0; n < kParamCount; ++n) {
            const std::size_t i = std::size_t(n);
            const QString &value = e.set[i];
            if (e.kind == HistoryKind::Write && e.param == n)
                c.standing[i] = e.stored ? ValueStanding::Stored : ValueStanding::Test;
            else if (!value.isEmpty() && !known[i].isEmpty() && value != known[i])
                c.standing[i] = e.kind == HistoryKind::Tuning ? ValueStanding::TestByTuning
                                                              : ValueStanding::Read;
            if (!value.isEmpty())
                known[i] = value;
        }
        if (e.kind == HistoryKind::Write)
            c.writes.push_back(e);
        if (e.capture && !e.capture->record.tMs.empty())
            responses.push_back(*e.capture);
        if (e.tuning && !e.tuning->options.isEmpty()) {
            c.tuning = e;
            for (const Capture &record : e.tuning->records)
                responses.push_back(record);
        }
    }
    if (!input.events.empty())
        c.left = input.events.back().set;
    if (!responses.empty())
        c.before = forwards(responses.front());
    if (responses.size() >= 2)
        c.after = forwards(responses.back());
    return c;
}

QImage reportChart(const ReportContent &content, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = size.height() / 32.0; // one text line, about
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(int(unit * 1.6));
    p.setFont(font);
    const QRectF plot(unit * 9, unit * 2.5, size.width() - unit * 11, size.height() - unit * 8);

    std::vector<std::pair<const Capture *, QColor>> curves;
    if (content.before)
        curves.push_back({&*content.before, kBeforeColour});
    if (content.after)
        curves.push_back({&*content.after, kAfterColour});
    double tMax = 0, lo = 0, hi = 0;
    for (const auto &[c, colour] : curves) {
        tMax =
            std::max({tMax, c->record.windowMs, c->record.tMs.empty() ? 0 : c->record.tMs.back()});
        for (double e : c->record.error) {
            lo = std::min(lo, e);
            hi = std::max(hi, e);
        }
    }
    if (!(tMax > 0))
        tMax = 1000;
    if (!(hi > lo))
        hi = lo + 10;
    const double margin = (hi - lo) * 0.06;
    lo -= margin;
    hi += margin;
    auto x = [&](double t) { return plot.left() + plot.width() * t / tMax; };
    auto y = [&](double e) { return plot.bottom() - plot.height() * (e - lo) / (hi - lo); };

    // Grid, ticks and their numbers.
    p.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), unit * 0.1));
    const double tStep = tickStep(tMax), eStep = tickStep(hi - lo);
    const QLocale locale;
    for (double t = 0; t <= tMax + 1e-9; t += tStep) {
        p.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), unit * 0.1));
        p.drawLine(QPointF(x(t), plot.top()), QPointF(x(t), plot.bottom()));
        p.setPen(Qt::black);
        p.drawText(QRectF(x(t) - unit * 5, plot.bottom() + unit * 0.5, unit * 10, unit * 2),
                   Qt::AlignHCenter | Qt::AlignTop, locale.toString(t, 'g', 6));
    }
    for (double e = std::ceil(lo / eStep) * eStep; e <= hi; e += eStep) {
        p.setPen(QPen(e == 0 ? QColor(0x99, 0x99, 0x99) : QColor(0xdd, 0xdd, 0xdd), unit * 0.1));
        p.drawLine(QPointF(plot.left(), y(e)), QPointF(plot.right(), y(e)));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y(e) - unit, plot.left() - unit * 0.6, unit * 2),
                   Qt::AlignRight | Qt::AlignVCenter, locale.toString(e, 'g', 6));
    }
    p.setPen(QPen(Qt::black, unit * 0.12));
    p.drawRect(plot);
    p.drawText(QRectF(plot.left(), size.height() - unit * 3, plot.width(), unit * 2.5),
               Qt::AlignHCenter | Qt::AlignBottom, Texts::tr("idő a lépés kiadásától (ms)"));
    p.save();
    p.translate(unit * 1.2, plot.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-plot.height() / 2, -unit, plot.height(), unit * 2.5), Qt::AlignCenter,
               Texts::tr("pozíció hiba (impulzus)"));
    p.restore();

    if (curves.empty()) {
        p.drawText(plot, Qt::AlignCenter, Texts::tr("Nem készült lépésválasz."));
        return image;
    }
    p.setClipRect(plot);
    for (const auto &[c, colour] : curves) {
        QPainterPath path;
        const StepRecord &r = c->record;
        for (std::size_t i = 0; i < r.tMs.size() && i < r.error.size(); ++i) {
            const QPointF point(x(r.tMs[i]), y(r.error[i]));
            if (i == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        p.setPen(QPen(colour, unit * 0.25));
        p.drawPath(path);
    }
    p.setClipping(false);

    // The legend, top right inside the plot.
    const QStringList names{Texts::tr("Előtte: %1"), Texts::tr("Utána: %1")};
    double legendY = plot.top() + unit * 0.8;
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const QString text = names[int(k)].arg(curves[k].first->label);
        const double width = p.fontMetrics().horizontalAdvance(text) + unit * 4;
        const double left = plot.right() - width - unit;
        p.fillRect(QRectF(left - unit * 0.3, legendY - unit * 0.2, width + unit * 0.6, unit * 2.2),
                   Qt::white);
        p.setPen(QPen(curves[k].second, unit * 0.35));
        p.drawLine(QPointF(left, legendY + unit), QPointF(left + unit * 2.5, legendY + unit));
        p.setPen(Qt::black);
        p.drawText(QRectF(left + unit * 3, legendY, width, unit * 2),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
        legendY += unit * 2.2;
    }
    return image;
}

QString reportHtml(const ReportInput &input, const ReportContent &c, const QString &chartSource)
{
    const QLocale locale;
    QString h;
    h +=
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"%2\"><head><meta charset=\"utf-8\">"
                       "<title>%1</title>"
                       "<style>body { font-family: 'Liberation Sans', Arial, sans-serif; "
                       "font-size: 9pt; } h1 { font-size: 15pt; margin-bottom: 4px; } "
                       "h2 { font-size: 11pt; margin-top: 12px; margin-bottom: 4px; } "
                       "td, th { font-size: 9pt; } .small { font-size: 8pt; color: #444444; }"
                       "</style></head><body>\n")
            .arg(escaped(Texts::tr("Üzembe helyezési jegyzőkönyv – %1").arg(axisTitle(input.axis))),
                 languageCode(languageInUse()));
    h += QStringLiteral("<h1>%1</h1>\n").arg(escaped(Texts::tr("Üzembe helyezési jegyzőkönyv")));

    h += QLatin1String(kTable);
    const QString axisName =
        input.axis.name.isEmpty() ? Texts::tr("(név nélkül)") : input.axis.name;
    h += QStringLiteral("<tr><th bgcolor=\"#e4e4e4\" align=\"left\" width=\"20%\">%1</th>%2</tr>")
             .arg(escaped(Texts::tr("Tengely")),
                  cell(QStringLiteral("<b>%1</b>").arg(escaped(axisName))));
    h += QStringLiteral("<tr><th bgcolor=\"#e4e4e4\" align=\"left\">%1</th>%2</tr>")
             .arg(escaped(Texts::tr("Dátum")),
                  cell(escaped(locale.toString(input.date,
                                               Texts::tr("yyyy. MMMM d., HH:mm", "date format")))));
    h += QStringLiteral("<tr><th bgcolor=\"#e4e4e4\" align=\"left\">%1</th>%2</tr>")
             .arg(escaped(Texts::tr("Port")),
                  cell(escaped(SimulatedOpener::shownPortName(input.axis.port) +
                               QStringLiteral(", 38400,N,8,1"))));
    h += QStringLiteral("<tr><th bgcolor=\"#e4e4e4\" align=\"left\">%1</th>%2</tr>")
             .arg(escaped(Texts::tr("Megjegyzés")),
                  cell(input.note.trimmed().isEmpty() ? QStringLiteral("–")
                                                      : escaped(input.note.trimmed())));
    h += QStringLiteral("</table>\n");

    // The values as found and as left.
    h += QStringLiteral("<h2>%1</h2>\n").arg(escaped(Texts::tr("Paraméterek")));
    h += QLatin1String(kTable);
    h += headerRow({Texts::tr("Paraméter"), Texts::tr("Induláskor"), Texts::tr("Átadáskor"),
                    Texts::tr("Állapot")});
    for (int n = 0; n < kParamCount; ++n) {
        const std::size_t i = std::size_t(n);
        const bool changed = shownValue(c.found[i]) != shownValue(c.left[i]);
        const QString left = changed
                                 ? QStringLiteral("<b>%1</b>").arg(escaped(shownValue(c.left[i])))
                                 : escaped(shownValue(c.left[i]));
        QString standing = escaped(standingName(c.standing[i]));
        if (c.standing[i] == ValueStanding::Test || c.standing[i] == ValueStanding::TestByTuning)
            standing = QStringLiteral("<b>%1</b>").arg(standing);
        h +=
            QStringLiteral("<tr>%1%2%3%4</tr>")
                .arg(cell(escaped(QString::fromUtf8(param(n).caption))),
                     cell(escaped(shownValue(c.found[i])), true), cell(left, true), cell(standing));
    }
    h += QStringLiteral("</table>\n<p class=\"small\">%1</p>\n")
             .arg(escaped(Texts::tr("„tárolva (W 0)”: a vezérlő kikapcsolás után is ezt az értéket "
                                    "használja. „csak próba”: a vezérlő kikapcsolásig használja, "
                                    "tárolni Pn-MENT vagy Mind MENT gombbal lehet.")));

    // The step responses and their figures.
    h += QStringLiteral("<h2>%1</h2>\n").arg(escaped(Texts::tr("Lépésválasz előtte és utána")));
    if (c.before) {
        h += QStringLiteral("<p><img src=\"%1\" width=\"500\" height=\"200\"></p>\n")
                 .arg(chartSource.toHtmlEscaped());
        const StepFigures before = stepFigures(c.before->record);
        const std::optional<StepFigures> after =
            c.after ? std::optional(stepFigures(c.after->record)) : std::nullopt;
        h += QLatin1String(kTable);
        h += headerRow(
            after ? QStringList{Texts::tr("Jellemző"), Texts::tr("Előtte"), Texts::tr("Utána")}
                  : QStringList{Texts::tr("Jellemző"), Texts::tr("Felvétel")});
        for (const Row &row : kFigureRows) {
            h += QStringLiteral("<tr>") + cell(escaped(Texts::tr(row.name))) +
                 cell(figure(before, row), true);
            if (after)
                h += cell(figure(*after, row), true);
            h += QStringLiteral("</tr>");
        }
        h += QStringLiteral("<tr>") + cell(escaped(Texts::tr("Lengések"))) +
             cell(QString::number(before.oscillations), true);
        if (after)
            h += cell(QString::number(after->oscillations), true);
        h += QStringLiteral("</tr></table>\n");
        QStringList notes;
        if (!before.note.isEmpty())
            notes << Texts::tr("előtte: %1").arg(before.note);
        if (after && !after->note.isEmpty())
            notes << Texts::tr("utána: %1").arg(after->note);
        QString sources = Texts::tr("Előtte: %1").arg(c.before->label);
        if (c.after)
            sources += QStringLiteral("; ") + Texts::tr("utána: %1").arg(c.after->label);
        h += QStringLiteral("<p class=\"small\">%1%2</p>\n")
                 .arg(escaped(sources + QStringLiteral(". ") +
                              Texts::tr("A hátrafelé tett lépés előjelét megfordítva mutatja.")),
                      notes.isEmpty()
                          ? QString()
                          : QStringLiteral(" ") + escaped(notes.join(QStringLiteral("; "))));
    } else {
        h += QStringLiteral("<p>%1</p>\n")
                 .arg(escaped(
                     Texts::tr("Ebben a munkamenetben nem készült lépésválasz ezen a tengelyen.")));
    }

    // The tuning.
    if (c.tuning && c.tuning->tuning) {
        const TuningEntry &t = *c.tuning->tuning;
        h += QStringLiteral("<h2>%1</h2>\n").arg(escaped(Texts::tr("Automata hangolás")));
        h += QLatin1String(kTable);
        h += headerRow({Texts::tr("Cél"), Texts::tr("Eredmény"), Texts::tr("Erősítések"),
                        Texts::tr("Mozgások"), Texts::tr("Idő")});
        h +=
            QStringLiteral("<tr>%1%2%3%4%5</tr>")
                .arg(
                    cell(escaped(tuningAimName(t.options.value(QStringLiteral("aim")).toString()))),
                    cell(escaped(tuningOutcomeName(t.outcome))), cell(escaped(gainsChange(t))),
                    cell(QString::number(t.result.value(QStringLiteral("stepsUsed")).toInt()),
                         true),
                    cell(escaped(Texts::tr("%1 s").arg(number(
                             t.result.value(QStringLiteral("elapsedMs")).toDouble() / 1000, 1))),
                         true));
        h += QStringLiteral("</table>\n");
        if (!t.message.isEmpty())
            h += QStringLiteral("<p class=\"small\">%1</p>\n").arg(escaped(t.message));
    }

    // The writes of the session.
    h += QStringLiteral("<h2>%1</h2>\n").arg(escaped(Texts::tr("Írások a munkamenetben")));
    if (c.writes.empty()) {
        h += QStringLiteral("<p>%1</p>\n").arg(escaped(Texts::tr("Nem volt írás.")));
    } else {
        const std::size_t first =
            c.writes.size() > std::size_t(kWritesListed) ? c.writes.size() - kWritesListed : 0;
        h += QLatin1String(kTable);
        h += headerRow({Texts::tr("Idő"), Texts::tr("Paraméter"), Texts::tr("Előtte"),
                        Texts::tr("Új érték"), Texts::tr("Mód"), Texts::tr("Visszaolvasva")});
        for (std::size_t k = first; k < c.writes.size(); ++k) {
            const HistoryEvent &w = c.writes[k];
            h += QStringLiteral("<tr>%1%2%3%4%5%6</tr>")
                     .arg(cell(timeOf(w.at)), cell(QStringLiteral("P%1").arg(w.param)),
                          cell(escaped(shownValue(w.before)), true),
                          cell(escaped(shownValue(w.sent)), true),
                          cell(escaped(w.stored ? Texts::tr("mentés (W 0)")
                                                : Texts::tr("próba (TESZT)"))),
                          cell(escaped(shownValue(w.readBack)), true));
        }
        h += QStringLiteral("</table>\n");
        if (first > 0)
            h += QStringLiteral("<p class=\"small\">%1</p>\n")
                     .arg(escaped(Texts::tr("Az utolsó %1 írás a(z) %2 közül; mind az Előzmények "
                                            "ablakban.")
                                      .arg(kWritesListed)
                                      .arg(c.writes.size())));
    }
    h += QStringLiteral("<p class=\"small\">%1</p>\n</body></html>\n")
             .arg(escaped(Texts::tr("Készítette: %1 %2")
                              .arg(QCoreApplication::applicationName(),
                                   QCoreApplication::applicationVersion())));
    return h;
}

QString writeReport(const ReportInput &input, const QString &pdfPath, const QString &htmlPath)
{
    const ReportContent content = reportContent(input);
    const QImage chart = reportChart(content, QSize(2000, 800));

    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(16, 14, 16, 14), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(Texts::tr("Üzembe helyezési jegyzőkönyv – %1").arg(axisTitle(input.axis)));
        writer.setCreator(QCoreApplication::applicationName());
        QTextDocument document;
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(9);
        document.setDefaultFont(font);
        document.addResource(QTextDocument::ImageResource, QUrl(QLatin1String(kChartResource)),
                             chart);
        document.setHtml(reportHtml(input, content, QLatin1String(kChartResource)));
        document.print(&writer);
    }

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        chart.save(&buffer, "PNG");
    }
    const QByteArray html =
        reportHtml(input, content,
                   QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64()))
            .toUtf8();

    for (const auto &[path, bytes] : {std::pair{pdfPath, pdf}, std::pair{htmlPath, html}}) {
        QSaveFile file(path);
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size() || !file.commit())
            return Texts::tr("A fájl nem írható: %1").arg(QDir::toNativeSeparators(path));
    }
    return QString();
}

} // namespace kdx
