// Reading KDXparam.txt: encoding detection, decoding and rows, and writing
// the rows back, on any bytes a file may hold.
#include "core/filetext.h"
#include "core/windows1250.h"
#include "fuzzcheck.h"

#include <QStringDecoder>

#include <cstdint>

using namespace kdx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // windows-1250 gives every byte a character of its own: decoding and
    // encoding again gives the bytes back, one character per byte.
    const QString cp1250 = windows1250::decode(bytes);
    check(cp1250.size() == bytes.size());
    check(windows1250::canEncode(cp1250));
    const std::optional<QByteArray> again = windows1250::encode(cp1250);
    check(again && *again == bytes);

    // The UTF-8 check agrees with Qt's decoder, and valid UTF-8 survives a
    // round trip through text.
    const bool utf8 = isValidUtf8(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    const QString viaQt = decoder.decode(bytes);
    check(utf8 == !decoder.hasError());
    if (utf8)
        check(viaQt.toUtf8() == bytes);

    const FileEncoding encoding = detectEncoding(bytes);
    if (encoding != FileEncoding::Windows1250)
        check(utf8);
    const QString text = decodeFileText(bytes);
    if (encoding == FileEncoding::Windows1250)
        check(text == cp1250);

    // A file has at least one row, and no row holds a CR.
    const QStringList rows = splitRows(text);
    check(!rows.isEmpty());
    for (const QString &row : rows)
        check(!row.contains(u'\r'));

    // Rows written back the way a rewrite does read as the same rows.
    FileEncoding out = encoding;
    bool fits = true;
    for (const QString &row : rows)
        fits = fits && windows1250::canEncode(row);
    if (out == FileEncoding::Windows1250 && !fits)
        out = FileEncoding::Utf8;
    QByteArray written = out == FileEncoding::Utf8WithBom ? QByteArray(kUtf8Bom) : QByteArray();
    for (const QString &row : rows) {
        const std::optional<QByteArray> encoded = encodeText(row, out);
        check(encoded.has_value());
        written += *encoded + kLineEnd;
    }
    check(endsWithLineEnd(written));
    check(splitRows(decodeFileText(written)) == rows);
    return 0;
}
