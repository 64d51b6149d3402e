// Rewrites KDXparam.txt in the folder given as its argument for ever,
// alternating between the two lists of rewritelists.h, so that a test can
// kill it at any moment. Says "writing" once it has begun; ends with status 1
// if a rewrite fails.
#include "core/paramfile.h"
#include "rewritelists.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    kdx::ParamFile file(QString::fromLocal8Bit(argv[1]));
    const QStringList lists[2] = {rewriteList(0), rewriteList(1)};
    std::puts("writing");
    std::fflush(stdout);
    for (int i = 1;; ++i) {
        if (!file.rewrite(lists[i % 2])) {
            std::fprintf(stderr, "rewrite failed: %s\n", qPrintable(file.errorString()));
            return 1;
        }
    }
}
