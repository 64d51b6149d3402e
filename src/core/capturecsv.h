#pragma once

#include "core/capture.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace kdx {

// Captures as CSV text that any spreadsheet, numpy or pandas reads: UTF-8,
// '.' as the decimal point, '#' lines first with what the capture was taken
// with, then the column row "time_ms,error_counts" and one row per reading:
//
//   # kdxterminal step capture
//   # label: P2=200 P3=10 P7=30 +400
//   # date: 2026-12-08T07:31:12.345+01:00
//   # port: /dev/ttyS0
//   # axis: 3. gép, X tengely          (only when the axis is named)
//   # params: P0=1000 P1=50 P2=200 P3=10 P4=200 P5=100 P6=1024 P7=30
//   # step: 400
//   # step_counts: 400
//   # move_end_ms: 6.4
//   # window_ms: 1000
//   # complete: yes
//   time_ms,error_counts
//   0.012,0
//   3.871,12
//
// "params: unknown" stands for gains that could not be read back. Line breaks
// in the label, the port and the axis are written as blanks. Several captures follow
// one another, each a block of its own, separated by an empty line.
QByteArray captureToCsv(const Capture &c);
QByteArray capturesToCsv(const std::vector<Capture> &cs);

// Reads captures back. On malformed input nothing is returned but the error:
// a Hungarian message naming the line (errorLine, 1-based; 0 when the fault
// is not in one line).
//
// Readable input: an optional UTF-8 byte order mark, LF or CR LF line ends,
// empty lines anywhere. Each capture needs the column row and its
// "step_counts" (or "step" with "params", from which the counts follow);
// the other '#' lines may be missing, and ones with unknown keys are ignored.
// Times are in ms from the step, at least 0 and never decreasing.
struct CsvResult {
    std::vector<Capture> captures;
    QString error; // empty: all went well
    int errorLine = 0;
};
CsvResult capturesFromCsv(const QByteArray &bytes);

} // namespace kdx
