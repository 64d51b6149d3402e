#pragma once

#include <QPointF>
#include <QtGlobal>

#include <vector>

namespace kdx {

class ReadingBuffer;

// What the serial line allows at 38400 baud, 8N1 (10 bits a byte): exchanges
// a second when each puts requestBytes out and takes replyBytes back.
double lineLimitHz(int requestBytes, int replyBytes, int baudRate = 38400);

// Readings a second over the last windowNs up to nowNs.
double sampleRateHz(const ReadingBuffer &buffer, qint64 nowNs, qint64 windowNs = 1'000'000'000);

// The readings between t0Ns and t1Ns as points (ms after originNs, raw value),
// thinned to at most four a pixel column: the first, the lowest, the highest
// and the last reading of each of `columns` columns, in time order. A line
// through them looks the same on the screen as one through every reading.
std::vector<QPointF> decimatedReadings(const ReadingBuffer &buffer, qint64 originNs, qint64 t0Ns,
                                       qint64 t1Ns, int columns);

// The same for a record given as time (ms) and value arrays.
std::vector<QPointF> decimatedSeries(const std::vector<double> &tMs,
                                     const std::vector<double> &values, double t0Ms, double t1Ms,
                                     int columns);

} // namespace kdx
