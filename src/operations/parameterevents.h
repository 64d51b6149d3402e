#pragma once

#include "core/paramtable.h"

#include <QString>

#include <array>

namespace kdx {

// A test or save write as it went out: the parameter, the value before it
// (as last read), the value sent, stored or for trial, and what the reads
// after it brought back. current holds P0..P7 as the terminal showed them
// once the write was over.
struct WriteRecord {
    int param = 0;
    QString before;
    QString sent;
    bool stored = false;
    QString readBack;
    std::array<QString, kParamCount> current;
};

// What the parameter reads and writes tell whoever keeps a record of them:
// only what they read and send anyway, nothing more goes on the line for it.
class ParameterEvents {
public:
    virtual ~ParameterEvents() = default;
    // Every parameter was read: P0..P7 as they are now in the current values.
    virtual void setRead(const std::array<QString, kParamCount> &values) = 0;
    // A value went to the controller.
    virtual void written(const WriteRecord &write) = 0;
};

} // namespace kdx
