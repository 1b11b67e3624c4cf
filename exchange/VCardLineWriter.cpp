#include "exchange/VCardLineWriter.h"

#include <algorithm>

namespace {

constexpr qsizetype kLineOctets = 75;

bool continuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

QString VCardLineWriter::escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            out += QStringLiteral("\\n");
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            continue;
        }
        if (c == u'\\' || c == u',' || c == u';')
            out += u'\\';
        out += c;
    }
    return out;
}

QString VCardLineWriter::structured(const QStringList& components)
{
    QStringList parts;
    parts.reserve(components.size());
    for (const QString& component : components)
        parts << escaped(component);
    return parts.join(u';');
}

QByteArray VCardLineWriter::folded(const QByteArray& line)
{
    QByteArray out;
    qsizetype pos = 0;
    qsizetype room = kLineOctets;
    do {
        qsizetype take = std::min(room, line.size() - pos);
        while (pos + take < line.size() && take > 1 && continuationByte(line.at(pos + take)))
            --take;
        if (pos > 0)
            out += ' ';
        out += line.mid(pos, take) + "\r\n";
        pos += take;
        room = kLineOctets - 1;
    } while (pos < line.size());
    return out;
}

QByteArray VCardLineWriter::line(const QByteArray& nameAndParameters, const QStringList& components)
{
    return folded(nameAndParameters + ':' + structured(components).toUtf8());
}

QString VCardLineWriter::numberValue(const QString& stored)
{
    const QString text = stored.trimmed();
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit())
            digits += QChar(u'0' + c.digitValue());
        else if (c != u'_' && c != u' ' && c != u'-')
            return text;
    }
    return digits;
}
