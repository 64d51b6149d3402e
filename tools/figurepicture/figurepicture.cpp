// Draws the step-response figures on one response, labelled, as a PNG
// (docs/step-figures.png is made with it):
//
//   kdxfigurepicture -o docs/step-figures.png
//
// The response is the simulator's heavy axis under the factory gains after a
// step of 2000, read every millisecond: a ramped move, a large overshoot and
// a few swings, so that every figure has something to show.

#include "core/stepfigures.h"
#include "firmware.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>

using namespace kdx;

namespace {

constexpr int Steps = 2000;
constexpr double WindowMs = 400;

StepRecord simulatedRecord()
{
    sim::Firmware firmware(*sim::namedPlant(QStringLiteral("heavy")));
    const StepMove move = stepMove(Steps, firmware.activeValue(sim::VelocityLimit),
                                   firmware.activeValue(sim::GearRatio));
    StepRecord r;
    r.stepCounts = move.stepCounts;
    r.moveEndMs = move.moveEndMs;
    r.windowMs = WindowMs;
    firmware.handleLine("+" + QByteArray::number(Steps));
    for (int ms = 1; ms <= WindowMs; ++ms) {
        firmware.advanceTo(ms * sim::Firmware::TickNs);
        r.tMs.push_back(ms);
        r.error.push_back(firmware.axis().positionError());
    }
    return r;
}

// One panel of the picture: a value range against the record's time.
class Panel {
public:
    Panel(QPainter &p, QRectF area, double low, double high)
        : m_p(p), m_area(area), m_low(low), m_high(high)
    {
    }

    QPointF at(double t, double v) const
    {
        return {m_area.left() + t / WindowMs * m_area.width(),
                m_area.bottom() - (v - m_low) / (m_high - m_low) * m_area.height()};
    }
    double x(double t) const { return at(t, 0).x(); }
    double y(double v) const { return at(0, v).y(); }
    const QRectF &area() const { return m_area; }

    QPainterPath curve(const std::vector<double> &t, const std::function<double(size_t)> &v) const
    {
        QPainterPath path(at(0, 0));
        for (size_t i = 0; i < t.size(); ++i)
            path.lineTo(at(t[i], v(i)));
        return path;
    }

    void frame(const QString &title, double tick) const
    {
        m_p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawRect(m_area);
        m_p.setPen(QColor(0x40, 0x40, 0x40));
        for (double v = std::ceil(m_low / tick) * tick; v <= m_high; v += tick) {
            m_p.drawLine(QPointF(m_area.left() - 4, y(v)), QPointF(m_area.left(), y(v)));
            m_p.drawText(QRectF(m_area.left() - 64, y(v) - 10, 56, 20),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
        }
        for (double t = 0; t <= WindowMs; t += 50) {
            m_p.drawLine(QPointF(x(t), m_area.bottom()), QPointF(x(t), m_area.bottom() + 4));
            m_p.drawText(QRectF(x(t) - 30, m_area.bottom() + 4, 60, 20), Qt::AlignCenter,
                         QString::number(t));
        }
        QFont bold = m_p.font();
        bold.setBold(true);
        m_p.save();
        m_p.setFont(bold);
        m_p.drawText(QPointF(m_area.left(), m_area.top() - 8), title);
        m_p.restore();
    }

private:
    QPainter &m_p;
    QRectF m_area;
    double m_low;
    double m_high;
};

const QColor Ink(0x20, 0x20, 0x20);
const QColor Shaft(0x00, 0x72, 0xB2);    // blue
const QColor Error(0xD5, 0x5E, 0x00);    // vermilion
const QColor Band(0x00, 0x9E, 0x73, 60); // bluish green, see-through
const QColor Settled(0x00, 0x9E, 0x73);
const QColor Marks(0xCC, 0x79, 0xA7); // reddish purple

void label(QPainter &p, QPointF at, const QString &text, Qt::Alignment align = Qt::AlignLeft)
{
    const QRectF box(align & Qt::AlignRight ? at.x() - 1000 : at.x(), at.y() - 10, 1000, 20);
    p.setPen(Ink);
    p.drawText(box, align | Qt::AlignVCenter, text);
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &color)
{
    p.setPen(QPen(color, 1.5));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot((to - from).x(), (to - from).y()) * 7;
    const QPointF n(-d.y() / 2, d.x() / 2);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({to, to - d + n, to - d - n}));
    p.setBrush(Qt::NoBrush);
}

void vertical(QPainter &p, const Panel &panel, double t, const QColor &color, Qt::PenStyle style)
{
    p.setPen(QPen(color, 1.2, style));
    p.drawLine(QPointF(panel.x(t), panel.area().top()), QPointF(panel.x(t), panel.area().bottom()));
}

void drawPosition(QPainter &p, const Panel &panel, const StepRecord &r, const StepFigures &f)
{
    const double size = std::abs(r.stepCounts);
    const double band = f.bandCounts;
    panel.frame(QStringLiteral("Shaft position (counts)"), 500);
    p.fillRect(QRectF(QPointF(panel.x(0), panel.y(size + band)),
                      QPointF(panel.x(WindowMs), panel.y(size - band))),
               Band);
    label(p, panel.at(WindowMs, size + band) + QPointF(-6, -12),
          QStringLiteral("band: ±max(2 % of the step, 2 counts)"), Qt::AlignRight);

    // Set point and shaft.
    p.setPen(QPen(Ink, 1.2, Qt::DashLine));
    p.drawPolyline(
        QPolygonF({panel.at(0, 0), panel.at(r.moveEndMs, size), panel.at(WindowMs, size)}));
    label(p, panel.at(r.moveEndMs, size) + QPointF(-6, 14), QStringLiteral("set point"),
          Qt::AlignRight);
    p.setPen(QPen(Shaft, 2));
    const auto position = [&](size_t i) {
        return size * std::min(1.0, r.tMs[i] / r.moveEndMs) - r.error[i];
    };
    p.drawPath(panel.curve(r.tMs, position));

    // Rise time between 10 % and 90 %.
    p.setPen(QPen(Marks, 1, Qt::DotLine));
    for (double share : {0.1, 0.9}) {
        p.setPen(QPen(Marks, 1, Qt::DotLine));
        p.drawLine(QPointF(panel.x(0), panel.y(share * size)),
                   QPointF(panel.x(150), panel.y(share * size)));
        label(p, panel.at(150, share * size) + QPointF(6, 0),
              QStringLiteral("%1 %").arg(share * 100));
    }
    double t10 = 0;
    for (size_t i = 0; i < r.tMs.size() && !t10; ++i)
        t10 = position(i) >= 0.1 * size ? r.tMs[i] : 0;
    const double t90 = t10 + f.riseTimeMs;
    arrow(p, panel.at(t10, 0.5 * size), panel.at(t90, 0.5 * size), Marks);
    arrow(p, panel.at(t90, 0.5 * size), panel.at(t10, 0.5 * size), Marks);
    label(p, panel.at(t90, 0.5 * size) + QPointF(8, 0),
          QStringLiteral("rise time %1 ms (10 % → 90 % of the step)").arg(f.riseTimeMs, 0, 'f', 0));

    // Overshoot at the time to peak.
    const double peak = size * (1 + f.overshootPct / 100);
    arrow(p, panel.at(f.timeToPeakMs, size), panel.at(f.timeToPeakMs, peak), Marks);
    label(p, panel.at(f.timeToPeakMs, peak) + QPointF(10, -4),
          QStringLiteral("overshoot %1 % of the step").arg(f.overshootPct, 0, 'f', 0));
    vertical(p, panel, f.timeToPeakMs, Marks, Qt::DotLine);
    label(p, panel.at(f.timeToPeakMs, 0) + QPointF(6, -12),
          QStringLiteral("time to peak %1 ms").arg(f.timeToPeakMs, 0, 'f', 0));

    vertical(p, panel, f.settlingTimeMs, Settled, Qt::SolidLine);
    label(p, panel.at(f.settlingTimeMs, 0.3 * size) + QPointF(6, 0),
          QStringLiteral("settling time %1 ms: inside the band from here on")
              .arg(f.settlingTimeMs, 0, 'f', 0));
}

void drawError(QPainter &p, const Panel &panel, const StepRecord &r, const StepFigures &f)
{
    panel.frame(QStringLiteral("Position error (counts) = set point − shaft"), 500);
    p.setPen(QPen(Ink, 0.8));
    p.drawLine(panel.at(0, 0), panel.at(WindowMs, 0));
    p.fillRect(QRectF(QPointF(panel.x(0), panel.y(f.bandCounts)),
                      QPointF(panel.x(WindowMs), panel.y(-f.bandCounts))),
               Band);

    // IAE: the area between the error and zero.
    QPainterPath area = panel.curve(r.tMs, [&](size_t i) { return r.error[i]; });
    area.lineTo(panel.at(r.tMs.back(), 0));
    area.closeSubpath();
    p.fillPath(area, QColor(0xD5, 0x5E, 0x00, 50));
    p.setPen(QPen(Error, 2));
    p.drawPath(panel.curve(r.tMs, [&](size_t i) { return r.error[i]; }));
    label(p, panel.at(210, 250),
          QStringLiteral("IAE = shaded area / step = %1 ms;  ITAE weighs it by time: %2 ms²")
              .arg(f.iae, 0, 'f', 1)
              .arg(f.itae, 0, 'f', 0));

    vertical(p, panel, r.moveEndMs, Ink, Qt::DashLine);
    label(p, panel.at(r.moveEndMs, -450) + QPointF(6, 0),
          QStringLiteral("end of the move (%1 ms): |step| / velocity limit")
              .arg(r.moveEndMs, 0, 'f', 0));
    p.setPen(QPen(Marks, 2));
    p.drawEllipse(panel.at(f.peakErrorMs, f.peakError), 5, 5);
    label(p, panel.at(f.peakErrorMs, f.peakError) + QPointF(10, 0),
          QStringLiteral("peak error %1 counts at %2 ms")
              .arg(f.peakError, 0, 'f', 0)
              .arg(f.peakErrorMs, 0, 'f', 0));

    // The crossings from one side of the band to the other.
    double side = 0;
    int n = 0;
    for (size_t i = 0; i < r.tMs.size(); ++i) {
        const double d = r.error[i];
        if (std::abs(d) <= f.bandCounts || r.tMs[i] < r.moveEndMs)
            continue;
        const double s = d > 0 ? 1 : -1;
        if (side != 0 && s != side) {
            p.setPen(QPen(Marks, 1.5));
            p.drawEllipse(panel.at(r.tMs[i], d), 4, 4);
            label(p, panel.at(r.tMs[i], d) + QPointF(-4, s * 16), QString::number(++n),
                  Qt::AlignRight);
        }
        side = s;
    }
    label(p, panel.at(210, -250),
          QStringLiteral("oscillations: %1 crossings from one side of the band to the other")
              .arg(f.oscillations));

    const double from = 0.9 * WindowMs;
    p.fillRect(QRectF(QPointF(panel.x(from), panel.area().top()),
                      QPointF(panel.x(WindowMs), panel.area().bottom())),
               QColor(0x56, 0xB4, 0xE9, 50));
    label(p, panel.at(WindowMs, 420) + QPointF(-6, 0),
          QStringLiteral("steady-state error: mean of the last 10 % = %1")
              .arg(f.steadyStateError, 0, 'f', 1),
          Qt::AlignRight);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws the step-response figures on a simulated response."));
    parser.addHelpOption();
    const QCommandLineOption output(QStringList{"o", "output"},
                                    QStringLiteral("PNG file to write."), QStringLiteral("file"),
                                    QStringLiteral("step-figures.png"));
    parser.addOption(output);
    parser.process(app);

    const StepRecord record = simulatedRecord();
    const StepFigures figures = stepFigures(record);

    const double scale = 2; // drawn at twice the size for sharp text
    QImage image(QSize(1100, 860) * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    p.setFont(font);

    const double size = std::abs(record.stepCounts);
    drawPosition(p, Panel(p, QRectF(80, 40, 990, 360), -100, size * 1.35), record, figures);
    drawError(p, Panel(p, QRectF(80, 450, 990, 360), -600, 1800), record, figures);
    label(p, QPointF(80, 840),
          QStringLiteral("time from the step (ms) — simulated heavy axis, factory gains, step "
                         "of %1, read every ms (%2 readings a second)")
              .arg(Steps)
              .arg(figures.sampleRateHz, 0, 'f', 0));
    p.end();

    if (!image.save(parser.value(output))) {
        std::fprintf(stderr, "kdxfigurepicture: cannot write %s\n",
                     qPrintable(parser.value(output)));
        return 1;
    }
    return 0;
}
