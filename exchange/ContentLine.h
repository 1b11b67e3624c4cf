#pragma once

#include "exchange/VCardLine.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The content lines that vCard (RFC 6350) and iCalendar (RFC 5545) share: "NAME;PARAM=x:value", folded at 75
// octets, text escaped with backslashes (written by VCardLineWriter). What the sync edits in place (a card, a task)
// is read as a list of raw lines so that each line it does not rewrite goes back byte for byte.
namespace ContentLine {

// The logical lines of `text`, each as received: with its continuation lines (a leading blank, or 2.1's
// quoted-printable soft break at the end of the line before) and its line end.
QList<QByteArray> split(const QByteArray& text);
// One raw line decoded (unfolded, escapes resolved) as a vCard `version` reads it; nothing for a line that is no
// property (a damaged one).
std::optional<VCardLine> parse(const QByteArray& raw, const QByteArray& version = "3.0");

// `raw` (a line as received) with its group, name and parameters kept and `value` (already escaped) as its value,
// folded anew. Parameters that described the old value's encoding (2.1's QUOTED-PRINTABLE, CHARSET) are left out.
QByteArray withValue(const QByteArray& raw, const QString& value);

} // namespace ContentLine
