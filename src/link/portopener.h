#pragma once

#include <QString>

class QIODevice;

namespace kdx {

struct OpenResult {
    enum class Status { Open, InUse, Failed };
    Status status = Status::Failed;
    QString reason; // for Failed: what went wrong, in the operator's words
};

// Owns the device that carries the line to the controller and knows how to
// open it. The device stays the same object across reopenings.
class PortOpener {
public:
    virtual ~PortOpener() = default;
    virtual QIODevice *device() = 0;
    // Sets the line up and opens it. Opening an open device closes it first.
    virtual OpenResult open() = 0;
    // The port's name as the operator knows it ("COM1", "/dev/ttyUSB0").
    virtual QString displayName() const = 0;
    // After an opening: what the operator should know about it, handed out
    // once; empty when nothing.
    virtual QString takeOpeningNote() { return QString(); }
};

} // namespace kdx
