#include "exchange/ContentLine.h"

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

QString ContentLine::escaped(const QString& raw)
{
    // A bare CR would end the line for every reader: it is a line break like the others.
    QString text = raw;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
            continue;
        }
        out += c;
    }
    return out;
}

QString ContentLine::structured(const QStringList& components)
{
    QStringList parts;
    for (const QString& component : components)
        parts << escaped(component);
    return parts.join(QLatin1Char(';'));
}

QByteArray ContentLine::folded(const QByteArray& line)
{
    QByteArray out;
    qsizetype pos = 0;
    int limit = 75;
    while (line.size() - pos > limit) {
        qsizetype take = limit;
        while (take > 1 && (static_cast<unsigned char>(line.at(pos + take)) & 0xC0) == 0x80)
            --take;
        out += line.mid(pos, take) + "\r\n ";
        pos += take;
        limit = 74;
    }
    return out + line.mid(pos) + "\r\n";
}

QByteArray ContentLine::withValue(const QByteArray& raw, const QString& value)
{
    return folded(head(raw) + ':' + value.toUtf8());
}
