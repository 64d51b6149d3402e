#pragma once

#include "app/terminal.h"
#include "link/serialportopener.h"
#include "scriptedprompter.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// The terminal on a serial port, with scripted boxes, a short reply time-out
// and an empty parameter file, started as on the first show. The port panel
// is recorded at every change of the link's problem (nothing else writes it).
struct SerialBench {
    explicit SerialBench(const QString &port, int reconnectIntervalMs = 0,
                         int replyTimeoutMs = 300);

    bool start();
    kdx::Form1 &form() { return terminal->form(); }
    kdx::SerialLink &link() { return terminal->link(); }
    // The eight current values, as the window shows them.
    QStringList values();

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    kdx::SerialPortOpener opener;
    std::unique_ptr<kdx::Terminal> terminal;
    QStringList panel;
};
