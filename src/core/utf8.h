#pragma once

#include <QString>

namespace kdx {

// The program's texts are written in UTF-8 in the sources.
inline QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace kdx
