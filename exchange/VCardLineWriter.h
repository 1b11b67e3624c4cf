#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The writing of one content line of a vCard 3.0 or 4.0 card (RFC 6350 section 3.2 and 3.4), for the export and
// for the sync's edits of a server's card alike, so an entry's value makes the same line on either path. A task's
// lines (iCalendar, RFC 5545 section 3.1 and 3.3.11) follow the same escaping and folding and are written here too.
namespace VCardLineWriter {

// A text value: backslash, comma and semicolon escaped, each line break (CR LF, CR or LF) written "\n".
QString escaped(const QString& text);
// A structured value (N, ADR, ORG): each component escaped on its own, joined by semicolons.
QString structured(const QStringList& components);
// A line as it goes into the card: folded after 75 octets (a continuation starts with one space and holds 74 more),
// never inside a UTF-8 character, each physical line ending in CR LF.
QByteArray folded(const QByteArray& line);
// "NAME;PARAMETERS:" and the structured value of `components`, folded.
QByteArray line(const QByteArray& nameAndParameters, const QStringList& components);

// What a stored number or zip says on a card: a value of digits and the mask's blanks and separators (any script's
// digits, "050 - 12_____") as its ASCII digits, which every dialler and tel: URI takes ("05012"; empty while none is
// typed); any other text exactly as typed.
QString numberValue(const QString& stored);

} // namespace VCardLineWriter
