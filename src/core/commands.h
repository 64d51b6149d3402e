#pragma once

#include <QByteArray>
#include <QString>

// Every command string the terminal puts on the line. Each ends with a
// carriage return; none carries a line feed.
namespace kdx::cmd {

inline constexpr char kCR = '\r';

QByteArray readParameter(int n);                  // "P0".."P7" CR
QByteArray positionPoll();                        // "P9" CR
QByteArray bareReturn();                          // CR
QByteArray newValue(const QString &value);        // value CR (test write)
QByteArray saveValue(const QString &value);       // value CR "W 0" CR (save write)
QByteArray voltageRun();                          // "m1" CR
QByteArray pidRun();                              // "m2" CR
QByteArray stepMode();                            // "m3" CR
QByteArray speed(const QString &speedText);       // "S" speed CR
QByteArray stop();                                // "S0" CR
QByteArray step(char sign, const QString &count); // "+" or "-", count, CR

} // namespace kdx::cmd
