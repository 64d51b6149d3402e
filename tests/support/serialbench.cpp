#include "serialbench.h"

#include "link/seriallink.h"
#include "widgets/form1.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>

SerialBench::SerialBench(const QString &port, int reconnectIntervalMs, int replyTimeoutMs)
    : opener(port)
{
    kdx::TerminalOptions options;
    options.opener = &opener;
    options.prompter = &prompter;
    options.paramFolder = dir.path();
    options.replyTimeoutMs = replyTimeoutMs;
    options.reconnectIntervalMs = reconnectIntervalMs;
    options.settleStep = std::chrono::microseconds(1);
    QFile(dir.filePath(QStringLiteral("KDXparam.txt"))).open(QIODevice::WriteOnly);
    terminal = std::make_unique<kdx::Terminal>(options);
    QObject::connect(&terminal->link(), &kdx::SerialLink::problemChanged, &terminal->form(),
                     [this] { panel << form().portPanel()->text(); });
}

bool SerialBench::start()
{
    if (!terminal->start())
        return false;
    terminal->run([this] { terminal->onFirstShown(); });
    return true;
}

QStringList SerialBench::values()
{
    QStringList v;
    for (int n = 0; n < 8; ++n)
        v << form().row(n).current->text();
    return v;
}
