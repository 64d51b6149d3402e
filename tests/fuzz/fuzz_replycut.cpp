// Both reply cuts on whatever the line may bring.
#include "core/replycut.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString reply =
        kdx::replyText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (QChar separator : {QChar(u','), QChar(u'.')}) {
        const kdx::ParameterCut cut = kdx::cutParameterReply(reply, separator);
        // Only a reply without blank and colon is asked for again.
        if (cut.resend != (!reply.contains(u' ') && !reply.contains(u':')))
            std::abort();
        if (cut.resend && !cut.value.isEmpty())
            std::abort();
        // A value never reaches past the reply.
        if (cut.value.size() > reply.size() + 400)
            std::abort();

        // An answer never lends its value to another request's.
        for (int n : {0, 7}) {
            const kdx::ParameterAnswer answer = kdx::cutParameterAnswer(reply, n, separator);
            const bool carries = reply.contains(u'P' + QString::number(n) + u' ');
            if ((answer.kind == kdx::ParameterAnswer::Kind::Value) != carries &&
                answer.kind != kdx::ParameterAnswer::Kind::Resend)
                std::abort();
        }
        if (kdx::cutPositionAnswer(reply, separator) && !reply.contains(QStringLiteral("P9 ")))
            std::abort();

        if (kdx::cutPositionReply(reply, separator)) {
            const qsizetype colon = reply.indexOf(u':');
            if (colon < 3)
                std::abort();
        }
    }
    return 0;
}
