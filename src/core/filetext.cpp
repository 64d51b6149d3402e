#include "filetext.h"

#include "windows1250.h"

#include <QStringDecoder>

#include <algorithm>

namespace kdx {

bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p++;
        if (b < 0x80)
            continue;
        int more;
        char32_t cp, min;
        if ((b & 0xE0) == 0xC0) {
            more = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            more = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            more = 3, cp = b & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (end - p < more)
            return false;
        for (int i = 0; i < more; ++i) {
            const unsigned char c = *p++;
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
    }
    return true;
}

FileEncoding detectEncoding(const QByteArray &bytes)
{
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii || !isValidUtf8(bytes))
        return FileEncoding::Windows1250;
    return bytes.startsWith(kUtf8Bom) ? FileEncoding::Utf8WithBom : FileEncoding::Utf8;
}

QString decodeFileText(const QByteArray &bytes)
{
    switch (detectEncoding(bytes)) {
    case FileEncoding::Utf8WithBom: {
        // Only the one mark in front is the file's; a second one is text
        // (QString::fromUtf8 would skip it too).
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                         QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(bytes.mid(3));
    }
    case FileEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case FileEncoding::Windows1250:
        break;
    }
    return windows1250::decode(bytes);
}

QStringList splitRows(const QString &text)
{
    QStringList rows;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r')
            continue;
        rows << text.mid(start, i - start);
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    // The text after the last line end is a row of its own unless it is
    // empty; an empty file still gives its one empty row.
    if (start < text.size() || rows.isEmpty())
        rows << text.mid(start);
    return rows;
}

std::optional<QByteArray> encodeText(const QString &text, FileEncoding encoding)
{
    if (encoding == FileEncoding::Windows1250)
        return windows1250::encode(text);
    return text.toUtf8();
}

bool endsWithLineEnd(const QByteArray &bytes)
{
    return bytes.isEmpty() || bytes.endsWith('\r') || bytes.endsWith(kLineEnd);
}

} // namespace kdx
