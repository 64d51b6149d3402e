#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The 8-bit Central European code page the parameter set file has always
// been written in. Bytes below 0x80 are ASCII. The five bytes the code page
// leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) stand for the control
// characters of the same value, both ways, so that no byte of an existing
// file changes when the file is read and written back.
namespace kdx::windows1250 {

QString decode(const QByteArray &bytes);

// Nothing when the text holds a character the code page has no byte for.
std::optional<QByteArray> encode(const QString &text);

bool canEncode(QChar c);
bool canEncode(const QString &text);

} // namespace kdx::windows1250
