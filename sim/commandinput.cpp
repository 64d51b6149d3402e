#include "commandinput.h"

#include "linelog.h"
#include "ptyserver.h"
#include "simulatedline.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kdx::sim {

CommandInput::CommandInput(int fd, SimulatedLine &line, PtyServer &server, LineLog &log,
                           QObject *parent)
    : QObject(parent), m_fd(fd), m_line(line), m_server(server), m_log(log)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CommandInput::readInput);
    connect(&server, &PtyServer::drained, this, [this] {
        if (m_bursting)
            m_log.event(m_server.nowNs(), "burst sent");
        m_bursting = false;
    });
}

CommandInput::~CommandInput() = default;

void CommandInput::readInput()
{
    char buffer[4096];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        m_notifier->setEnabled(false);
        emit ended();
        return;
    }
    m_typed.append(buffer, n);
    for (qsizetype end; (end = m_typed.indexOf('\n')) >= 0; m_typed.remove(0, end + 1)) {
        const QByteArray command = m_typed.first(end).simplified();
        if (!command.isEmpty() && !obey(command))
            std::fprintf(stderr, "kdxsim: unknown command '%s'\n", command.constData());
    }
}

bool CommandInput::obey(const QByteArray &command)
{
    const QList<QByteArray> words = command.split(' ');
    if (words == QList<QByteArray>{"heal"}) {
        // What noise is made of stays for later bursts.
        LineFaults sane;
        sane.garbageByte = m_line.faults().garbageByte;
        sane.seed = m_line.faults().seed;
        m_line.setFaults(sane);
        m_line.firmware().setEcho(false);
    } else if (words == QList<QByteArray>{"values"}) {
        // What the controller holds now, for a test to hold the terminal's
        // reads against: one line on standard output.
        QByteArray line = "values";
        for (int n = 0; n < ParamCount; ++n)
            line += ' ' + QByteArray::number(m_line.firmware().activeValue(n));
        std::fprintf(stdout, "%s\n", line.constData());
        std::fflush(stdout);
        return true;
    } else if (words == QList<QByteArray>{"silent"}) {
        LineFaults faults = m_line.faults();
        faults.silentAfter = m_line.linesReceived();
        m_line.setFaults(faults);
    } else if (words.size() == 2 && words[0] == "burst") {
        bool ok = false;
        const qsizetype size = words[1].toLongLong(&ok);
        if (!ok || size < 1 || size > PtyServer::MaxOutput)
            return false;
        m_log.event(m_server.nowNs(), command);
        m_bursting = true;
        m_server.inject(m_line.noise(size));
        return true;
    } else {
        return false;
    }
    m_log.event(m_server.nowNs(), command);
    return true;
}

} // namespace kdx::sim
