#include "exchange/VCardParser.h"

#include "exchange/Encodings.h"

#include <QCoreApplication>
#include <optional>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isAscii(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Lenient: an "=" not followed by two hex digits stays as it is, since phones write such values too.
QByteArray decodeQuotedPrintable(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in.at(i);
        if (c == '=') {
            if (i + 1 == in.size())
                break; // a soft break with nothing after it
            if (i + 2 < in.size()) {
                const int hi = hexValue(in.at(i + 1));
                const int lo = hexValue(in.at(i + 2));
                if (hi >= 0 && lo >= 0) {
                    out.append(static_cast<char>(hi * 16 + lo));
                    i += 2;
                    continue;
                }
            }
        }
        out.append(c);
    }
    return out;
}

// Escapes are resolved in the same pass that splits the components, since after it "\;" and ";" look alike.
// An unknown escape keeps its backslash: 2.1 files hold Windows paths and the like.
void unescape(const QString& text, QString& value, QStringList& components)
{
    value.reserve(text.size());
    QString component;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text.at(++i);
            QString resolved;
            if (next == QLatin1Char('n') || next == QLatin1Char('N'))
                resolved = QStringLiteral("\n");
            else if (next == QLatin1Char(',') || next == QLatin1Char(';') || next == QLatin1Char('\\') ||
                     next == QLatin1Char(':'))
                resolved = next;
            else
                resolved = QString(c) + next;
            value += resolved;
            component += resolved;
        } else if (c == QLatin1Char(';')) {
            value += c;
            components.append(component);
            component.clear();
        } else {
            value += c;
            component += c;
        }
    }
    components.append(component);
}

bool isNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
}

// Parameter values split at commas outside quotes; the quotes themselves go.
QStringList parameterValues(QByteArrayView text, bool splitQuoted)
{
    QStringList values;
    QByteArray current;
    bool quoted = false;
    const auto flush = [&] {
        const QString value = QString::fromUtf8(current.trimmed());
        if (!value.isEmpty())
            values.append(value);
        current.clear();
    };
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && (!quoted || splitQuoted))
            flush();
        else
            current.append(c);
    }
    flush();
    return values;
}

// A 2.1 parameter written without a name ("TEL;CELL;PREF:") is a TYPE, or the ENCODING when it names one.
QString bareParameterName(const QString& value)
{
    static const QStringList encodings{QStringLiteral("QUOTED-PRINTABLE"), QStringLiteral("BASE64"),
                                       QStringLiteral("B"), QStringLiteral("8BIT"), QStringLiteral("7BIT")};
    return encodings.contains(value, Qt::CaseInsensitive) ? QStringLiteral("ENCODING") : QStringLiteral("TYPE");
}

struct Header
{
    bool valid = false;
    QString group;
    QString name;
    QMap<QString, QStringList> parameters;
    qsizetype valueStart = 0;
    bool quotedPrintable = false;
    bool base64 = false;    // ENCODING=BASE64 or B: continuation lines may come unindented
    bool skipValue = false; // binary: nothing reads it, so it is neither kept nor decoded
};

// The colon that ends the name and parameters: the first outside double quotes. Resumes at `from`, so folds can be
// added one by one without reading the line again; -1 while there is none.
qsizetype findColon(const QByteArray& line, qsizetype& from, bool& quoted)
{
    for (; from < line.size(); ++from) {
        const char c = line.at(from);
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted)
            return from;
    }
    return -1;
}

Header parseHeader(const QByteArray& line, qsizetype colon)
{
    Header h;
    if (colon < 0)
        return h;
    QList<QByteArrayView> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < colon; ++i) {
        const char c = line.at(i);
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            parts.append(QByteArrayView(line.constData() + start, i - start));
            start = i + 1;
        }
    }
    parts.append(QByteArrayView(line.constData() + start, colon - start));

    const QByteArrayView fullName = parts.first().trimmed();
    if (fullName.isEmpty() || fullName.endsWith('.') || fullName.startsWith('.'))
        return h;
    for (const char c : fullName) {
        if (!isNameChar(c))
            return h;
    }
    const qsizetype dot = fullName.lastIndexOf(QByteArrayView("."));
    h.group = QString::fromLatin1(fullName.first(dot < 0 ? 0 : dot));
    h.name = QString::fromLatin1(fullName.sliced(dot + 1)).toUpper();

    for (qsizetype p = 1; p < parts.size(); ++p) {
        const QByteArrayView part = parts.at(p).trimmed();
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf('=');
        if (eq < 0) {
            const QStringList values = parameterValues(part, false);
            for (const QString& value : values)
                h.parameters[bareParameterName(value)].append(value);
            continue;
        }
        const QString key = QString::fromUtf8(part.first(eq).trimmed()).toUpper();
        if (key.isEmpty())
            continue;
        // TYPE="home,voice" is a list even inside its quotes
        h.parameters[key].append(parameterValues(part.sliced(eq + 1), key == QLatin1String("TYPE")));
    }

    const QString encoding = h.parameters.value(QStringLiteral("ENCODING")).value(0).toUpper();
    h.quotedPrintable = encoding == QLatin1String("QUOTED-PRINTABLE");
    h.base64 = encoding == QLatin1String("BASE64") || encoding == QLatin1String("B");
    static const QStringList binaries{QStringLiteral("PHOTO"), QStringLiteral("LOGO"), QStringLiteral("SOUND"),
                                      QStringLiteral("KEY")};
    h.skipValue = h.base64 || binaries.contains(h.name);
    h.valueStart = colon + 1;
    h.valid = true;
    return h;
}

// What a person can recognise of a line that could not be read: its start, without control characters.
QString excerpt(const QByteArray& line)
{
    constexpr qsizetype kLength = 40;
    QString text = QString::fromUtf8(line.left(kLength));
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar(0xFFFD);
    }
    if (line.size() > kLength)
        text += QChar(0x2026);
    return text;
}

struct Span
{
    qsizetype begin = 0;
    qsizetype end = 0;
};

class Parse
{
public:
    Parse(const QByteArray& bytes, const QString& fallbackEncoding, VCardParser::Sink& sink, ProblemList& problems);
    bool run();

private:
    bool atEnd() const { return m_next >= m_bytes.size(); }
    // The physical line at the read position, without its line end; `take` moves past it.
    const Span& peek();
    Span take();
    bool isFold(const Span& line) const;
    bool isBase64Text(const Span& line) const;
    bool isCardBoundary(const Span& line) const;
    void appendFold(QByteArray& logical, const Span& line) const;
    void handle(const QByteArray& logical, const Header& header);
    VCardLine decodeLine(const QByteArray& logical, const Header& header);
    QString decodeText(const QByteArray& raw, const Header& header);
    void openCard();
    void closeCard(const QString& unterminated);
    void junk(const QByteArray& line);
    void flushJunk();
    void problem(int record, const QString& field, const QString& value, const QString& action);

    QByteArray m_bytes;
    QString m_fallback;
    VCardParser::Sink& m_sink;
    ProblemList& m_problems;
    bool m_transcoded = false; // the file was UTF-16; its text is Unicode whatever CHARSET says
    bool m_fallbackUsed = false;
    qsizetype m_next = 0; // where the next physical line starts
    std::optional<Span> m_peeked;
    std::optional<VCardParser::Card> m_card;
    int m_cardCount = 0;
    int m_junkRecord = 0;
    int m_junkLines = 0;
    QString m_junkSample;
};

Parse::Parse(const QByteArray& bytes, const QString& fallbackEncoding, VCardParser::Sink& sink, ProblemList& problems)
    : m_bytes(bytes), m_fallback(fallbackEncoding), m_sink(sink), m_problems(problems)
{
    const bool bomLE = bytes.startsWith("\xFF\xFE");
    const bool bomBE = bytes.startsWith("\xFE\xFF");
    // Without a BOM a UTF-16 file still starts with "BE", each letter beside a zero byte.
    const auto letterAt = [&](qsizetype i) {
        return i < bytes.size() && (bytes.at(i) | 0x20) >= 'a' && (bytes.at(i) | 0x20) <= 'z';
    };
    const auto zeroAt = [&](qsizetype i) { return i < bytes.size() && bytes.at(i) == 0; };
    const bool bareLE = letterAt(0) && zeroAt(1) && letterAt(2) && zeroAt(3);
    const bool bareBE = zeroAt(0) && letterAt(1) && zeroAt(2) && letterAt(3);
    if (bomLE || bomBE || bareLE || bareBE) {
        const QString encoding = (bomLE || bomBE) ? QStringLiteral("UTF-16")
                                 : bareLE         ? QStringLiteral("UTF-16LE")
                                                  : QStringLiteral("UTF-16BE");
        if (const std::optional<QString> text = Encodings::decode(bytes, encoding)) {
            m_bytes = text->toUtf8();
            m_transcoded = true;
        }
    }
    if (m_bytes.startsWith(kUtf8Bom))
        m_bytes.remove(0, kUtf8Bom.size());
}

const Span& Parse::peek()
{
    if (!m_peeked) {
        const char* data = m_bytes.constData();
        const qsizetype size = m_bytes.size();
        qsizetype i = m_next;
        while (i < size && data[i] != '\n' && data[i] != '\r')
            ++i;
        m_peeked = Span{m_next, i};
    }
    return *m_peeked;
}

Span Parse::take()
{
    const Span line = peek();
    m_peeked.reset();
    const char* data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype i = line.end;
    while (i < size && data[i] == '\r')
        ++i;
    if (i < size && data[i] == '\n')
        ++i;
    m_next = i;
    return line;
}

bool Parse::isFold(const Span& line) const
{
    return line.end > line.begin && isBlank(m_bytes.at(line.begin));
}

bool Parse::isBase64Text(const Span& line) const
{
    if (line.end == line.begin)
        return false;
    for (qsizetype i = line.begin; i < line.end; ++i) {
        const char c = m_bytes.at(i);
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/' ||
              c == '=' || isBlank(c)))
            return false;
    }
    return true;
}

bool Parse::isCardBoundary(const Span& line) const
{
    const QByteArrayView text(m_bytes.constData() + line.begin, line.end - line.begin);
    const auto startsWith = [&](QByteArrayView word) {
        return text.size() >= word.size() && text.first(word.size()).compare(word, Qt::CaseInsensitive) == 0;
    };
    return startsWith("BEGIN:") || startsWith("END:");
}

void Parse::appendFold(QByteArray& logical, const Span& line) const
{
    logical.append(m_bytes.constData() + line.begin + 1, line.end - line.begin - 1);
}

bool Parse::run()
{
    while (!atEnd()) {
        const Span first = take();
        qsizetype begin = first.begin;
        while (begin < first.end && isBlank(m_bytes.at(begin)))
            ++begin;
        if (begin == first.end)
            continue;
        QByteArray logical = m_bytes.mid(begin, first.end - begin);
        if (logical.startsWith(kUtf8Bom))
            logical.remove(0, kUtf8Bom.size());

        // Folds may fall inside the parameters, so the header is read only once the colon is in.
        qsizetype scanned = 0;
        bool quoted = false;
        qsizetype colon = findColon(logical, scanned, quoted);
        while (colon < 0 && !atEnd() && isFold(peek())) {
            appendFold(logical, take());
            colon = findColon(logical, scanned, quoted);
        }
        Header header = parseHeader(logical, colon);
        // Text nobody reads (a note, an e-mail address) is neither joined nor decoded.
        if (header.valid && !header.skipValue && header.name != QLatin1String("BEGIN") &&
            header.name != QLatin1String("END") && header.name != QLatin1String("VERSION") &&
            !m_sink.wants(header.name))
            header.skipValue = true;
        while (!atEnd()) {
            const Span& next = peek();
            if (header.quotedPrintable && logical.endsWith('=') && !isCardBoundary(next)) {
                // a soft line break: the next line goes on as it is, leading blanks included
                logical.chop(1);
                logical.append(m_bytes.constData() + next.begin, next.end - next.begin);
            } else if (isFold(next)) {
                if (!header.skipValue)
                    appendFold(logical, next);
            } else if (!(header.base64 && isBase64Text(next))) {
                break;
            }
            take();
        }
        handle(logical, header);
    }
    if (m_card)
        closeCard(
            QCoreApplication::translate("VCardParser", "the card has no END:VCARD; read up to the end of the file"));
    flushJunk();
    if (m_fallbackUsed) {
        problem(0, QString(), m_fallback,
                QCoreApplication::translate("VCardParser", "text that names no character set is not UTF-8; read as %1")
                    .arg(m_fallback));
    }
    return m_fallbackUsed;
}

void Parse::handle(const QByteArray& logical, const Header& header)
{
    if (!header.valid) {
        junk(logical);
        return;
    }
    const auto valueIs = [&](const char* word) {
        return QByteArrayView(logical).sliced(header.valueStart).trimmed().compare(word, Qt::CaseInsensitive) == 0;
    };
    if (header.name == QLatin1String("BEGIN") && valueIs("VCARD")) {
        if (m_card)
            closeCard(QCoreApplication::translate("VCardParser",
                                                  "the card has no END:VCARD; read up to the next BEGIN:VCARD"));
        openCard();
    } else if (header.name == QLatin1String("END") && valueIs("VCARD")) {
        if (m_card)
            closeCard(QString());
        // an END without its BEGIN closes nothing and holds nothing
    } else if (!m_card) {
        junk(logical);
    } else if (header.name == QLatin1String("VERSION")) {
        m_card->version = QString::fromLatin1(QByteArrayView(logical).sliced(header.valueStart).trimmed());
    } else {
        m_sink.line(*m_card, decodeLine(logical, header));
    }
}

VCardLine Parse::decodeLine(const QByteArray& logical, const Header& header)
{
    VCardLine line;
    line.group = header.group;
    line.name = header.name;
    line.parameters = header.parameters;
    if (header.skipValue)
        return line;
    QByteArray raw = logical.sliced(header.valueStart);
    if (header.quotedPrintable)
        raw = decodeQuotedPrintable(raw);
    QString text = decodeText(raw, header);
    // Phones write line breaks as =0D=0A; one kind of break is all the entry knows.
    if (text.contains(QLatin1Char('\r')))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A NUL is no character of any text: it shows as the replacement character, which the fitting reports.
    Encodings::replaceUnreadable(text);
    unescape(text, line.value, line.components);
    return line;
}

QString Parse::decodeText(const QByteArray& raw, const Header& header)
{
    const QString charset = header.parameters.value(QStringLiteral("CHARSET")).value(0);
    if (!charset.isEmpty() && (header.quotedPrintable || !m_transcoded)) {
        if (charset.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(raw);
        if (const std::optional<QString> text = Encodings::decode(raw, charset))
            return *text;
        problem(m_card ? m_card->number : 0, header.name, charset,
                QCoreApplication::translate("VCardParser",
                                            "unknown character set; the text is read as if the line named none"));
    }
    if (isAscii(raw) || Encodings::isUtf8(raw))
        return QString::fromUtf8(raw);
    m_fallbackUsed = true;
    if (const std::optional<QString> text = Encodings::decode(raw, m_fallback))
        return *text;
    return QString::fromUtf8(raw);
}

void Parse::openCard()
{
    flushJunk();
    m_card.emplace();
    m_card->number = ++m_cardCount;
}

void Parse::closeCard(const QString& unterminated)
{
    flushJunk();
    if (!unterminated.isEmpty())
        problem(m_card->number, QString(), QString(), unterminated);
    m_sink.cardEnded(*m_card);
    m_card.reset();
}

void Parse::junk(const QByteArray& line)
{
    const int record = m_card ? m_card->number : 0;
    if (m_junkLines > 0 && m_junkRecord != record)
        flushJunk();
    if (m_junkLines++ == 0) {
        m_junkRecord = record;
        m_junkSample = excerpt(line);
    }
}

void Parse::flushJunk()
{
    if (m_junkLines == 0)
        return;
    const bool outside = m_junkRecord == 0;
    const QString action =
        m_junkLines == 1
            ? (outside ? QCoreApplication::translate("VCardParser", "line outside any card left out")
                       : QCoreApplication::translate("VCardParser", "line unreadable left out"))
            : (outside
                   ? QCoreApplication::translate("VCardParser", "%n lines outside any card left out", nullptr,
                                                 m_junkLines)
                   : QCoreApplication::translate("VCardParser", "%n lines unreadable left out", nullptr, m_junkLines));
    ExchangeProblem lines{m_junkRecord, QString(), m_junkSample, action};
    lines.count = m_junkLines;
    m_problems.append(lines);
    m_junkLines = 0;
    m_junkSample.clear();
}

void Parse::problem(int record, const QString& field, const QString& value, const QString& action)
{
    m_problems.append(ExchangeProblem{record, field, value, action});
}

// Keeps every card with all its lines.
class Collect : public VCardParser::Sink
{
public:
    explicit Collect(QList<VCardParser::Card>& cards) : m_cards(cards) {}
    bool wants(const QString&) const override { return true; }
    void line(const VCardParser::Card& card, const VCardLine& line) override
    {
        if (m_cards.isEmpty() || m_cards.constLast().number != card.number)
            m_cards.append(VCardParser::Card{card.number, QString(), {}});
        m_cards.last().lines.append(line);
    }
    void cardEnded(const VCardParser::Card& card) override
    {
        if (m_cards.isEmpty() || m_cards.constLast().number != card.number)
            m_cards.append(VCardParser::Card{card.number, QString(), {}});
        m_cards.last().version = card.version;
    }

private:
    QList<VCardParser::Card>& m_cards;
};

} // namespace

VCardParser::Result VCardParser::parse(const QByteArray& bytes, const QString& fallbackEncoding)
{
    Result result;
    Collect collect(result.cards);
    result.fallbackUsed = parse(bytes, fallbackEncoding, collect, result.problems);
    return result;
}

bool VCardParser::parse(const QByteArray& bytes, const QString& fallbackEncoding, Sink& sink, ProblemList& problems)
{
    return Parse(bytes, fallbackEncoding, sink, problems).run();
}
