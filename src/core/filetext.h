#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The parameter set file as text: how its bytes become rows and rows become
// bytes again.
namespace kdx {

// How a file's bytes are read and how they are written back.
enum class FileEncoding {
    Windows1250, // the code page the file has always been written in
    Utf8,        // a file saved as UTF-8 by an editor
    Utf8WithBom, // the same, with the byte order mark in front
};

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(const QByteArray &bytes);

// A file that is valid UTF-8 and not plain ASCII is UTF-8; anything else is
// windows-1250.
FileEncoding detectEncoding(const QByteArray &bytes);

// The file's text in its own encoding (without a byte order mark).
QString decodeFileText(const QByteArray &bytes);

// The rows of the file: a line ends at CR or at CR LF; a lone LF stays in
// the line's text. The last line may lack its end. An empty file is one
// empty row.
QStringList splitRows(const QString &text);

// A text in the given encoding; nothing when windows-1250 has no byte for
// one of its characters. No byte order mark is added.
std::optional<QByteArray> encodeText(const QString &text, FileEncoding encoding);

// True when the bytes are empty or their last line is ended (CR or CR LF),
// so that a line written after them starts a row of its own.
bool endsWithLineEnd(const QByteArray &bytes);

inline constexpr char kLineEnd[] = "\r\n";
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

} // namespace kdx
