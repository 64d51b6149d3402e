// Writes events into a history file until it is killed, told to stop after
// a number of events, or the file will take no more. Prints "session N"
// once it is open and "kept K" after each event the file has committed, so
// that a test knows what it may expect to find.
//
//   historywriter FILE AXIS [COUNT] [--limit-bytes N]
//
// With --limit-bytes the process may not make any file larger than N bytes
// (RLIMIT_FSIZE), as a full disk refuses a write; it then prints "full
// <problem>" and exits 0 once the store has said it cannot write.

#include "historyevents.h"
#include "operations/historystore.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace kdx;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    qint64 limitBytes = 0;
    if (const qsizetype at = args.indexOf(QStringLiteral("--limit-bytes")); at >= 0) {
        limitBytes = args.value(at + 1).toLongLong();
        args.remove(at, 2);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "historywriter FILE AXIS [COUNT] [--limit-bytes N]\n");
        return 2;
    }
    const int count = args.size() > 2 ? args[2].toInt() : -1;

    HistoryStore store(args[0]);
    if (!store.isWritable()) {
        std::fprintf(stderr, "historywriter: %s\n", qPrintable(store.problemText()));
        return 1;
    }
    if (limitBytes > 0) {
        // A write past the limit fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(limitBytes), rlim_t(limitBytes)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::printf("session %lld\n", store.session());
    std::fflush(stdout);
    for (int k = 0; count < 0 || k < count; ++k) {
        if (store.add(numberedEvent(args[1], k)) == 0) {
            if (limitBytes > 0) {
                std::printf("full %s\n", qPrintable(store.problemText()));
                return 0;
            }
            std::fprintf(stderr, "historywriter: event %d: %s\n", k,
                         qPrintable(store.problemText()));
            return 1;
        }
        std::printf("kept %d\n", k);
        std::fflush(stdout);
    }
    return 0;
}
