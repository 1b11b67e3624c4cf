#pragma once

#include <QString>
#include <QStringList>

// Text a server sent, made safe to print, show or keep: every control character (C0, DEL, C1: the escape
// sequences that retitle or clear a terminal start with them), every character that turns the direction of text,
// and every noncharacter becomes U+FFFD; a line break or a tab becomes a space, as in one line of a report.
namespace ServerText {

inline bool unsafe(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
           c == 0x200E || c == 0x200F || c == 0x061C || (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

inline QString shown(const QString& text)
{
    // Most text needs nothing: it is returned as it is, without a copy.
    bool clean = true;
    for (qsizetype i = 0; clean && i < text.size(); ++i) {
        const QChar c = text.at(i);
        clean = c.isSurrogate() ? !(c.isHighSurrogate() && i + 1 < text.size() &&
                                    unsafe(QChar::surrogateToUcs4(c, text.at(i + 1))))
                                : !unsafe(c.unicode());
    }
    if (clean)
        return text;
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c == '\t' || c == '\n' || c == '\r')
            out += QLatin1Char(' ');
        else if (unsafe(c))
            out += QChar(QChar::ReplacementCharacter);
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}

// The same for text of several lines (a message): each line made safe, the line breaks (LF) kept.
inline QString shownLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = shown(line);
    return lines.join(QLatin1Char('\n'));
}

inline QString shown(const QByteArray& utf8)
{
    return shown(QString::fromUtf8(utf8));
}

} // namespace ServerText
