#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs kdxsim, the simulated controller on a pseudo-terminal, for the
// length of a test. The pty's path is what the terminal opens as its port.
class KdxsimProcess {
public:
    KdxsimProcess() = default;
    ~KdxsimProcess();

    // Starts kdxsim with the given options; false if it did not come up.
    bool start(const QStringList &arguments = {});
    QString ptyPath() const { return m_path; }
    // Ends it with SIGTERM (an orderly end), or with SIGKILL when that fails.
    void stop();
    // Ends it with SIGKILL at once, as a pulled cable ends the line.
    void kill();
    // Gives it a command on its standard input (started with --commands).
    void command(const QByteArray &line);
    // P0..P7 as the controller holds them now (started with --commands);
    // empty when kdxsim did not say.
    QList<int> values();
    // The lines kdxsim received, in order, from its log (--log): a bare
    // return as an empty line.
    static QStringList receivedLines(const QString &logPath);

private:
    QProcess m_process;
    QString m_path;
};
