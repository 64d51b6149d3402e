#pragma once

#include "app/terminal.h"
#include "core/monitormodel.h"
#include "fakeportcatalogue.h"
#include "operations/positionmonitor.h"
#include "operations/scheduler.h"
#include "operations/stepmode.h"
#include "scriptedopener.h"
#include "scriptedprompter.h"

#include <QTemporaryDir>

#include <memory>

// The eight current-value boxes, P0..P7.
QStringList currentValues(kdx::Form1 &form);

// A whole terminal on a scripted line, with scripted boxes, a settling delay
// that takes no time, a short reply time-out and an empty parameter file in
// a temporary folder.
class TerminalFixture {
public:
    explicit TerminalFixture(int replyTimeoutMs = 200,
                             const std::function<void(kdx::TerminalOptions &)> &adjust = {});

    kdx::Terminal &terminal() { return *m_terminal; }
    kdx::Form1 &form() { return m_terminal->form(); }
    ScriptedDevice &device() { return opener.scripted(); }
    QString folder() const { return m_dir.path(); }

    // Start-up without showing the window or running the first actions.
    bool load() { return m_terminal->start(); }
    // The poll and the step timer.
    kdx::TickTimer &pollTimer() { return m_terminal->scheduler().pollTimer(); }
    kdx::TickTimer &stepTimer() { return m_terminal->scheduler().stepTimer(); }
    // Which of the three step options is selected ("" for none), by the
    // names of the window's option buttons.
    QString selectedOption();
    // What the monitor holds.
    kdx::MonitorModel &monitor() { return m_terminal->monitor().model(); }
    // The monitor's boxes and trace show what it holds now, not at the next frame.
    void showMonitorNow();
    // Runs a handler as a window event would.
    void run(const std::function<void()> &operation) { m_terminal->run(operation); }

    // Answers "Pn" with "Pn <value>:" from the given values, "P9" with the
    // given error, and every other line with CR LF.
    void answerLikeController(const QStringList &values = {},
                              const QString &p9 = QStringLiteral("5"));

    ScriptedOpener opener;
    ScriptedPrompter prompter;
    FakePortCatalogue ports; // none unless a test adds some

private:
    QTemporaryDir m_dir;
    std::unique_ptr<kdx::Terminal> m_terminal;
};
