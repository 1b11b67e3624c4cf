#include "exchange/ContentLine.h"

#include "exchange/VCardLineWriter.h"
#include "exchange/VCardParser.h"

namespace {

// The part of a line before its value: group, name and parameters, unfolded, without the parameters of an
// encoding.
QByteArray head(const QByteArray& raw)
{
    QByteArray unfolded = raw;
    unfolded.replace("\r\n ", "").replace("\r\n\t", "").replace("\n ", "").replace("\n\t", "");
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < unfolded.size(); ++i) {
        if (unfolded.at(i) == '"')
            quoted = !quoted;
        else if (unfolded.at(i) == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    const QByteArray prefix = colon < 0 ? unfolded : unfolded.left(colon);
    QList<QByteArray> kept;
    for (const QByteArray& part : prefix.split(';')) {
        const QByteArray upper = part.trimmed().toUpper();
        if (upper.startsWith("ENCODING=") || upper.startsWith("CHARSET=") || upper == "QUOTED-PRINTABLE")
            continue;
        kept << part;
    }
    return kept.join(';');
}

} // namespace

QList<QByteArray> ContentLine::split(const QByteArray& text)
{
    QList<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        for (;;) {
            const qsizetype newline = text.indexOf('\n', end);
            end = newline < 0 ? text.size() : newline + 1;
            if (end >= text.size())
                break;
            const char next = text.at(end);
            const QByteArray body = text.mid(pos, end - pos).trimmed();
            const bool softBreak = body.endsWith('=') && body.toUpper().contains("QUOTED-PRINTABLE");
            if (next != ' ' && next != '\t' && !softBreak)
                break;
        }
        lines << text.mid(pos, end - pos);
        pos = end;
    }
    return lines;
}

std::optional<VCardLine> ContentLine::parse(const QByteArray& raw, const QByteArray& version)
{
    // Only the line end goes: blanks at the end of a value belong to it.
    QByteArray line = raw;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    const auto parsed = VCardParser::parse("BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + line + "\r\nEND:VCARD\r\n",
                                           QStringLiteral("UTF-8"));
    if (parsed.cards.isEmpty() || parsed.cards.first().lines.size() != 1)
        return std::nullopt;
    return parsed.cards.first().lines.first();
}

QByteArray ContentLine::withValue(const QByteArray& raw, const QString& value)
{
    return VCardLineWriter::folded(head(raw) + ':' + value.toUtf8());
}
