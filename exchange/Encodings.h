#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

// Text in the encodings address book exports come in, through ICU's converters (Qt Core alone knows only the
// Unicode ones and Latin-1).
namespace Encodings {

// The encodings offered when a file does not say its own and is not valid UTF-8.
QStringList offered();

// The encoding old files in the user's language were most likely written in: windows-1255 for Hebrew,
// windows-1250 for the Central European languages, windows-1252 otherwise. The import window and the command line
// both start from it.
QString defaultFor(const QLocale& locale);

// True when `bytes` is valid UTF-8 (a BOM allowed).
bool isUtf8(const QByteArray& bytes);

// The text of `bytes` in the encoding named (any name ICU knows: "UTF-8", "windows-1255", "ISO-8859-8",
// "Shift_JIS", "UTF-16"...); nothing when the name is unknown. A byte sequence the encoding has no character for,
// half a UTF-16 surrogate pair included, becomes U+FFFD. A BOM of the encoding is dropped.
std::optional<QString> decode(const QByteArray& bytes, const QString& encoding);

// Puts U+FFFD, the replacement character, in place of what is no character of any text although a decoder lets it
// through: a NUL and half a UTF-16 surrogate pair. Readers report the values that hold U+FFFD.
void replaceUnreadable(QString& text);

} // namespace Encodings
