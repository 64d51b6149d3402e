#pragma once

#include "capture.h"

#include <QByteArray>

#include <vector>

namespace kdx {

// Stand-in until the shared CSV lands.
QByteArray captureToCsv(const Capture &c);
QByteArray capturesToCsv(const std::vector<Capture> &cs);
struct CsvResult {
    std::vector<Capture> captures;
    QString error;
    int errorLine = 0;
};
CsvResult capturesFromCsv(const QByteArray &bytes);

} // namespace kdx
