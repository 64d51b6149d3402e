#pragma once

#include "operations/historystore.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace kdx {

// What a commissioning report ("Jegyzőkönyv") is made of: one axis, the
// operator's note and what this session read and sent on that axis.
struct ReportInput {
    AxisKey axis;
    QDateTime date;
    QString note;
    std::vector<HistoryEvent> events; // the session's events of the axis, oldest first
};

// How a value stands at the end of the session.
enum class ValueStanding { Unchanged, Stored, Test, TestByTuning, Read };

// What the report says, worked out from the events.
struct ReportContent {
    ParamTexts found; // the first set read
    ParamTexts left;  // as the session left them
    std::array<ValueStanding, kParamCount> standing{};
    std::optional<Capture> before, after; // the first and the last step response
    std::optional<HistoryEvent> tuning;   // the last tuning, with its entry
    std::vector<HistoryEvent> writes;     // every test and save write
};
ReportContent reportContent(const ReportInput &input);

// "tárolva (W 0)", "csak próba (TESZT)", …
QString standingName(ValueStanding standing);

// The two step responses on one chart, error against time, each drawn as a
// forward step.
QImage reportChart(const ReportContent &content, const QSize &size);

// The report as HTML; the chart is the image at chartSource (a resource
// name, or a data: URL for a file of its own).
QString reportHtml(const ReportInput &input, const ReportContent &content,
                   const QString &chartSource);

// Writes the report as a PDF (A4) and the same as HTML with its chart in it.
// Empty when both were written, else what went wrong.
QString writeReport(const ReportInput &input, const QString &pdfPath, const QString &htmlPath);

} // namespace kdx
