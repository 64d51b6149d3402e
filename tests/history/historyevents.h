#pragma once

#include "operations/historystore.h"

#include <cmath>

// Events the history tests write: every kind in turn, numbered so that a
// test can tell which ones the file kept. Event k is a write of P(k % 8)
// with "k" as the value sent, or carries k in its set or its capture.
inline kdx::Capture numberedCapture(int k, int readings)
{
    kdx::Capture c;
    c.label = QStringLiteral("P2=%1 +400").arg(k);
    c.takenAt = QDateTime::currentDateTime();
    c.port = QStringLiteral("/dev/ttyUSB0");
    c.params = {1000, 50, k, 10, 200, 100, 1024, 30};
    c.paramsKnown = true;
    c.steps = 400;
    c.record.stepCounts = 400;
    c.record.moveEndMs = 6.4;
    c.record.windowMs = 1000;
    for (int i = 0; i < readings; ++i) {
        c.record.tMs.push_back(0.5 + i * (1000.0 / readings) + (i % 7) * 0.013);
        c.record.error.push_back(std::round(400 * std::exp(-i / 40.0) * std::cos(i / 9.0)));
    }
    return c;
}

inline kdx::HistoryEvent numberedEvent(const QString &axis, int k, int readings = 200)
{
    kdx::HistoryEvent e;
    e.axis = {axis, QStringLiteral("/dev/ttyUSB0")};
    e.kind = kdx::HistoryKind(1 + k % 4);
    for (int n = 0; n < 8; ++n)
        e.set[std::size_t(n)] = QString::number(100 * n + k);
    switch (e.kind) {
    case kdx::HistoryKind::Read:
        e.occasion = kdx::ReadOccasion::Operator;
        break;
    case kdx::HistoryKind::Write:
        e.param = k % 8;
        e.before = QString::number(k - 1);
        e.sent = QString::number(k);
        e.readBack = e.sent;
        e.stored = k % 3 == 0;
        break;
    case kdx::HistoryKind::Tuning: {
        kdx::TuningEntry t;
        t.outcome = QStringLiteral("tuned");
        t.message = QStringLiteral("hangolás %1").arg(k);
        t.options = {{QStringLiteral("aim"), QStringLiteral("balanced")}};
        t.result = {{QStringLiteral("stepsUsed"), k}};
        t.logCsv = QByteArray("index,stage\n1,alap\n");
        e.outcome = t.outcome;
        e.message = t.message;
        e.tuning = t;
        break;
    }
    case kdx::HistoryKind::Capture:
        e.capture = numberedCapture(k, readings);
        e.steps = e.capture->steps;
        e.windowMs = e.capture->record.windowMs;
        e.readings = readings;
        break;
    }
    return e;
}

// The number an event of numberedEvent() carries.
inline int numberOf(const kdx::HistoryEvent &e)
{
    return e.set[0].toInt();
}
