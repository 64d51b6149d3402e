#include "core/capturecsv.h"

#include "core/stepfigures.h"

#include <QList>
#include <QStringDecoder>

#include <QCoreApplication>
#include <cmath>
#include <optional>

namespace kdx {

namespace {

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(CaptureCsv)
};

constexpr QByteArrayView Marker = "# kdxterminal step capture\n";
constexpr QByteArrayView Columns = "time_ms,error_counts";
const QString ColumnsText = QString::fromLatin1(Columns);

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
}

// Header values stay on their line whatever they hold.
QByteArray oneLine(const QString &text)
{
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return flat.toUtf8();
}

QByteArray paramsText(const Capture &c)
{
    if (!c.paramsKnown)
        return "unknown";
    QByteArrayList parts;
    for (size_t n = 0; n < c.params.size(); ++n)
        parts << 'P' + QByteArray::number(qsizetype(n)) + '=' + QByteArray::number(c.params[n]);
    return parts.join(' ');
}

} // namespace

QByteArray captureToCsv(const Capture &c)
{
    const StepRecord &r = c.record;
    QByteArray out = Marker.toByteArray();
    out += "# label: " + oneLine(c.label) + '\n';
    if (c.takenAt.isValid())
        out += "# date: " +
               c.takenAt.toOffsetFromUtc(c.takenAt.offsetFromUtc())
                   .toString(Qt::ISODateWithMs)
                   .toUtf8() +
               '\n';
    out += "# port: " + oneLine(c.port) + '\n';
    if (!c.axis.isEmpty())
        out += "# axis: " + oneLine(c.axis) + '\n';
    out += "# params: " + paramsText(c) + '\n';
    out += "# step: " + QByteArray::number(c.steps) + '\n';
    out += "# step_counts: " + number(r.stepCounts) + '\n';
    out += "# move_end_ms: " + number(r.moveEndMs) + '\n';
    out += "# window_ms: " + number(r.windowMs) + '\n';
    out += QByteArray("# complete: ") + (r.complete ? "yes" : "no") + '\n';
    out += Columns.toByteArray() + '\n';
    const size_t n = std::min(r.tMs.size(), r.error.size());
    for (size_t i = 0; i < n; ++i)
        out += number(r.tMs[i]) + ',' + number(r.error[i]) + '\n';
    return out;
}

QByteArray capturesToCsv(const std::vector<Capture> &cs)
{
    QByteArray out;
    for (const Capture &c : cs) {
        if (!out.isEmpty())
            out += '\n';
        out += captureToCsv(c);
    }
    return out;
}

namespace {

// Thrown inside the reader: what is wrong and on which line.
struct Fault {
    QString reason;
    int line;
};

// One capture as its lines come in.
class Block {
public:
    explicit Block(int firstLine) : m_firstLine(firstLine) {}

    bool hasRows() const { return m_hasColumns; }

    void header(QStringView text, int line)
    {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        if (colon < 0)
            return; // a plain comment
        const QString key = text.left(colon).trimmed().toString().toLower();
        const QString value = text.mid(colon + 1).trimmed().toString();
        if (!Keys.contains(key))
            return;
        if (m_seen.contains(key))
            throw Fault{Texts::tr("a %1 kétszer szerepel").arg(key), line};
        m_seen << key;
        if (!take(key, value))
            throw Fault{Texts::tr("a %1 értéke hibás: „%2”").arg(key, value), line};
    }

    void row(QStringView text, int line)
    {
        if (!m_hasColumns) {
            if (text.toString()
                    .remove(QLatin1Char(' '))
                    .compare(ColumnsText, Qt::CaseInsensitive) != 0)
                throw Fault{Texts::tr("a %1 oszlopsor hiányzik").arg(ColumnsText), line};
            m_hasColumns = true;
            return;
        }
        const QList<QStringView> fields = text.split(QLatin1Char(','));
        bool okTime = false;
        bool okError = false;
        const double t = fields.size() == 2 ? fields[0].toDouble(&okTime) : 0;
        const double e = fields.size() == 2 ? fields[1].toDouble(&okError) : 0;
        if (!okTime || !okError || !std::isfinite(t) || !std::isfinite(e))
            throw Fault{Texts::tr("két szám kell vesszővel elválasztva (%1)").arg(ColumnsText),
                        line};
        if (t < 0)
            throw Fault{Texts::tr("az idő nem lehet negatív"), line};
        if (!m_c.record.tMs.empty() && t < m_c.record.tMs.back())
            throw Fault{Texts::tr("az idő nem csökkenhet"), line};
        m_c.record.tMs.push_back(t);
        m_c.record.error.push_back(e);
    }

    Capture finish()
    {
        StepRecord &r = m_c.record;
        if (!m_hasColumns)
            throw Fault{Texts::tr("a %1 oszlopsor hiányzik").arg(ColumnsText), m_firstLine};
        const bool fromSteps = m_seen.contains(QStringLiteral("step")) && m_c.paramsKnown;
        if (!m_seen.contains(QStringLiteral("step_counts"))) {
            if (!fromSteps)
                throw Fault{
                    Texts::tr("az itt kezdődő felvételből hiányzik a lépés mérete (step_counts)"),
                    m_firstLine};
            r.stepCounts = stepMove(m_c.steps, m_c.params[0], m_c.params[6]).stepCounts;
        }
        if (!m_seen.contains(QStringLiteral("move_end_ms")) && fromSteps)
            r.moveEndMs = stepMove(m_c.steps, m_c.params[0], m_c.params[6]).moveEndMs;
        if (!m_seen.contains(QStringLiteral("window_ms")))
            r.windowMs = r.tMs.empty() ? 0 : r.tMs.back();
        return m_c;
    }

private:
    static inline const QStringList Keys{
        QStringLiteral("label"),       QStringLiteral("date"),        QStringLiteral("port"),
        QStringLiteral("axis"),        QStringLiteral("params"),      QStringLiteral("step"),
        QStringLiteral("step_counts"), QStringLiteral("move_end_ms"), QStringLiteral("window_ms"),
        QStringLiteral("complete")};

    static std::optional<double> real(const QString &text, double min)
    {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok || std::isnan(v) || v < min)
            return std::nullopt;
        return v;
    }

    bool takeParams(const QString &value)
    {
        if (value.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0) {
            m_c.paramsKnown = false;
            return true;
        }
        const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != int(m_c.params.size()))
            return false;
        for (qsizetype n = 0; n < parts.size(); ++n) {
            const QString prefix = QStringLiteral("P%1=").arg(n);
            bool ok = false;
            const int v = parts[n].startsWith(prefix, Qt::CaseInsensitive)
                              ? parts[n].mid(prefix.size()).toInt(&ok)
                              : 0;
            if (!ok || v < -32768 || v > 32767)
                return false;
            m_c.params[size_t(n)] = v;
        }
        m_c.paramsKnown = true;
        return true;
    }

    bool take(const QString &key, const QString &value)
    {
        StepRecord &r = m_c.record;
        bool ok = true;
        if (key == QLatin1String("label")) {
            m_c.label = value;
        } else if (key == QLatin1String("port")) {
            m_c.port = value;
        } else if (key == QLatin1String("axis")) {
            m_c.axis = value;
        } else if (key == QLatin1String("date")) {
            m_c.takenAt =
                value.isEmpty() ? QDateTime() : QDateTime::fromString(value, Qt::ISODateWithMs);
            ok = value.isEmpty() || m_c.takenAt.isValid();
        } else if (key == QLatin1String("params")) {
            ok = takeParams(value);
        } else if (key == QLatin1String("step")) {
            m_c.steps = value.toInt(&ok);
        } else if (key == QLatin1String("complete")) {
            ok = value == QLatin1String("yes") || value == QLatin1String("no");
            r.complete = value != QLatin1String("no");
        } else {
            const bool counts = key == QLatin1String("step_counts");
            const std::optional<double> v = real(value, counts ? -INFINITY : 0);
            ok = v && (std::isfinite(*v) || key == QLatin1String("move_end_ms"));
            double &field = counts                                ? r.stepCounts
                            : key == QLatin1String("move_end_ms") ? r.moveEndMs
                                                                  : r.windowMs;
            field = v.value_or(0);
        }
        return ok;
    }

    int m_firstLine;
    Capture m_c;
    QStringList m_seen;
    bool m_hasColumns = false;
};

QString decodeLine(QByteArrayView bytes, int line)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw Fault{Texts::tr("nem UTF-8 szöveg"), line};
    return text;
}

std::vector<Capture> readCaptures(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    std::vector<Capture> captures;
    std::optional<Block> block;
    int line = 0;
    while (!bytes.isEmpty()) {
        ++line;
        qsizetype end = bytes.indexOf('\n');
        if (end < 0)
            end = bytes.size();
        QByteArrayView raw = bytes.first(end);
        bytes = bytes.sliced(std::min(end + 1, bytes.size()));
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString text = decodeLine(raw, line).trimmed();
        if (text.isEmpty())
            continue;
        const bool isHeader = text.startsWith(QLatin1Char('#'));
        if (block && isHeader && block->hasRows()) {
            captures.push_back(block->finish());
            block.reset();
        }
        if (!block)
            block.emplace(line);
        if (isHeader)
            block->header(QStringView(text).sliced(1), line);
        else
            block->row(text, line);
    }
    if (block)
        captures.push_back(block->finish());
    if (captures.empty())
        throw Fault{Texts::tr("nincs benne felvétel"), 0};
    return captures;
}

} // namespace

CsvResult capturesFromCsv(const QByteArray &bytes)
{
    CsvResult result;
    try {
        result.captures = readCaptures(bytes);
    } catch (const Fault &fault) {
        result.errorLine = fault.line;
        result.error =
            fault.line > 0
                ? Texts::tr("Hibás a fájl %1. sora: %2.").arg(fault.line).arg(fault.reason)
                : Texts::tr("Hibás a fájl: %1.").arg(fault.reason);
    }
    return result;
}

} // namespace kdx
