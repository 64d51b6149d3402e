#include "terminalfixture.h"

#include "widgets/form1.h"
#include "widgets/monitorview.h"

#include <QFile>
#include <QLineEdit>

TerminalFixture::TerminalFixture(int replyTimeoutMs,
                                 const std::function<void(kdx::TerminalOptions &)> &adjust)
{
    // An installed terminal has its parameter file: start-up lists it
    // quietly instead of announcing that it creates one.
    QFile paramFile(m_dir.filePath(QStringLiteral("KDXparam.txt")));
    paramFile.open(QIODevice::WriteOnly);
    paramFile.close();

    kdx::TerminalOptions options;
    options.opener = &opener;
    options.prompter = &prompter;
    options.paramFolder = m_dir.path();
    options.settleStep = std::chrono::nanoseconds(0);
    options.replyTimeoutMs = replyTimeoutMs;
    options.reconnectIntervalMs = 0;
    options.ports = &ports;
    if (adjust)
        adjust(options);
    m_terminal = std::make_unique<kdx::Terminal>(options);
}

void TerminalFixture::answerLikeController(const QStringList &values, const QString &p9)
{
    device().setResponder([values, p9](const QByteArray &line) -> QByteArray {
        if (line.size() == 2 && line[0] == 'P' && line[1] >= '0' && line[1] <= '9') {
            const int n = line[1] - '0';
            const QString value =
                n == 9 ? p9 : (n < values.size() ? values[n] : QString::number(100 + n));
            return line + ' ' + value.toLatin1() + ':';
        }
        return "\r\n";
    });
}

QString TerminalFixture::selectedOption()
{
    const int k = m_terminal->steps().options().selected();
    return k == kdx::Choice::kNone ? QString() : QStringLiteral("Option%1").arg(k + 1);
}

void TerminalFixture::showMonitorNow()
{
    m_terminal->monitorView().refresh();
}

QStringList currentValues(kdx::Form1 &form)
{
    QStringList values;
    for (int n = 0; n < 8; ++n)
        values << form.row(n).current->text();
    return values;
}
