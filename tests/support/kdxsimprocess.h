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
    void stop();

private:
    QProcess m_process;
    QString m_path;
};
