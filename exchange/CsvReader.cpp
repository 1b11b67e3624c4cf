#include "exchange/CsvReader.h"

#include "exchange/ContactChoice.h"
#include "exchange/Encodings.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <algorithm>

namespace {

// Fields kept of one row; a row with more is a broken file, and its fields past these are counted, not kept.
constexpr int kMaxFields = 4096;

struct Row
{
    QStringList fields;
    int count = 0;     // fields in the file, kept or not
    QStringList notes; // what was wrong with the row, as problem actions
};

// Cuts a text into rows and fields. Each character is looked at a bounded number of times: a quote that turns out
// broken sends the reader back over the text it swallowed once, and the quotes within that text are all doubled
// ones, which close at once when read again, so no stretch is read a third time.
class Splitter
{
public:
    Splitter(const QString& text, QChar separator) : m_text(text), m_separator(separator) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    Row next();

private:
    bool endsField(qsizetype i) const
    {
        return i >= m_text.size() || m_text.at(i) == m_separator || m_text.at(i) == u'\n' || m_text.at(i) == u'\r';
    }
    qsizetype fieldEnd(qsizetype from) const
    {
        while (!endsField(from))
            ++from;
        return from;
    }
    // Reads the quoted field whose opening quote is at `quote`; false when the quote is broken.
    bool quoted(qsizetype quote, QString& value, Row& row);

    const QString& m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
};

bool Splitter::quoted(qsizetype quote, QString& value, Row& row)
{
    QString content;
    bool lineBreak = false;
    qsizetype from = quote + 1;
    for (;;) {
        const qsizetype q = m_text.indexOf(u'"', from);
        if (q < 0) {
            row.notes << QCoreApplication::translate(
                "CsvReader", "a quote is never closed: the field is read to the end of its line");
            return false;
        }
        const QStringView part = QStringView(m_text).mid(from, q - from);
        lineBreak = lineBreak || part.contains(u'\n') || part.contains(u'\r');
        content += part;
        if (q + 1 < m_text.size() && m_text.at(q + 1) == u'"') {
            content += u'"';
            from = q + 2;
            continue;
        }
        if (endsField(q + 1)) {
            m_pos = q + 1;
        } else if (lineBreak) {
            // Text right after a quote that closed lines later: that quote opened the next field, and this one
            // was never closed. Taking it as closed would swallow whole rows.
            row.notes << QCoreApplication::translate(
                "CsvReader", "a quote is not closed on its line: the field is read to the end of it");
            return false;
        } else {
            // "5" screen" and the like: the text after the quote is kept as written.
            m_pos = fieldEnd(q + 1);
            content += QStringView(m_text).mid(q + 1, m_pos - q - 1);
        }
        break;
    }
    if (lineBreak) {
        content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        content.replace(u'\r', u'\n');
    }
    value = content;
    return true;
}

Row Splitter::next()
{
    Row row;
    for (;;) {
        QString value;
        qsizetype start = m_pos;
        while (start < m_text.size() && m_text.at(start) == u' ' && m_separator != u' ')
            ++start;
        if (start >= m_text.size() || m_text.at(start) != u'"' || !quoted(start, value, row)) {
            const qsizetype end = fieldEnd(m_pos);
            value = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
        }
        if (++row.count <= kMaxFields)
            row.fields << value;
        if (m_pos < m_text.size() && m_text.at(m_pos) == m_separator) {
            ++m_pos;
            continue;
        }
        // A row ends at "\r\n", "\n" or a lone "\r".
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'\r' && m_pos + 1 < m_text.size() &&
            m_text.at(m_pos + 1) == u'\n')
            ++m_pos;
        if (m_pos < m_text.size())
            ++m_pos;
        break;
    }
    if (row.count > kMaxFields)
        row.notes << QCoreApplication::translate("CsvReader", "only the first %1 of its %2 fields are read")
                         .arg(kMaxFields)
                         .arg(row.count);
    return row;
}

bool isBlank(const Row& row)
{
    return row.count == 1 && row.fields.constFirst().trimmed().isEmpty();
}

// UTF-16 without a BOM shows by its zero bytes: the high half of every ASCII character, on the odd bytes for
// little-endian and the even ones for big-endian. A CSV always has ASCII (separators, digits, line ends).
std::optional<QStringDecoder::Encoding> utf16ByZeros(const QByteArray& bytes)
{
    const qsizetype sample = std::min<qsizetype>(bytes.size(), 4096) & ~qsizetype(1);
    qsizetype even = 0;
    qsizetype odd = 0;
    for (qsizetype i = 0; i < sample; ++i) {
        if (bytes.at(i) == 0)
            ++(i % 2 ? odd : even);
    }
    const qsizetype least = std::max<qsizetype>(1, sample / 16);
    if (odd >= least && even * 4 <= odd)
        return QStringDecoder::Utf16LE;
    if (even >= least && odd * 4 <= even)
        return QStringDecoder::Utf16BE;
    return std::nullopt;
}

// The records of a decoded text one at a time, the header line first taken as such when it is one. The problems
// of each row go to `problems` as the row is read.
class Records
{
public:
    Records(const QString& text, const CsvReader::Options& options, CsvReader::Table& table, ProblemList& problems)
        : m_splitter(text, table.separator), m_options(options), m_table(table), m_problems(problems)
    {
    }

    // The next record's fields and number; false after the last.
    bool next(QStringList& fields, int& record)
    {
        while (!m_splitter.atEnd()) {
            Row row = m_splitter.next();
            if (isBlank(row))
                continue;
            if (m_first) {
                m_first = false;
                m_table.hasHeader =
                    m_options.header == CsvReader::Header::Present ||
                    (m_options.header == CsvReader::Header::Guess && CsvColumns::looksLikeHeader(row.fields));
                if (m_table.hasHeader) {
                    for (const QString& note : std::as_const(row.notes))
                        m_problems.append({0, QString(), QString(),
                                           QCoreApplication::translate("CsvReader", "header: %1").arg(note)});
                    m_table.header = row.fields;
                    m_expected = row.count;
                    continue;
                }
            }
            record = ++m_records;
            if (m_expected < 0)
                m_expected = row.count;
            // A row shorter than the header loses nothing (exporters leave out the empty fields at the end), nor
            // does one that goes on with empty fields only; fields past the header's that hold something do.
            const auto holdsSomething = [](const QString& field) { return !field.trimmed().isEmpty(); };
            if (row.count > m_expected &&
                std::any_of(row.fields.cbegin() + std::min<qsizetype>(m_expected, row.fields.size()), row.fields.cend(),
                            holdsSomething)) {
                row.notes << (m_table.hasHeader
                                  ? QCoreApplication::translate(
                                        "CsvReader",
                                        "has %1 fields, the header %2: the fields after the first %2 are not read")
                                  : QCoreApplication::translate(
                                        "CsvReader",
                                        "has %1 fields, the first row %2: the fields after the first %2 are not read"))
                                 .arg(row.count)
                                 .arg(m_expected);
            }
            for (const QString& note : std::as_const(row.notes))
                m_problems.append({record, QString(), QString(), note});
            fields = std::move(row.fields);
            return true;
        }
        return false;
    }

private:
    Splitter m_splitter;
    const CsvReader::Options& m_options;
    CsvReader::Table& m_table;
    ProblemList& m_problems;
    bool m_first = true;
    int m_expected = -1;
    int m_records = 0;
};

// The text of a file and the first things known of it: its encoding and separator.
QString start(const CsvReader& reader, const CsvReader::Options& options, CsvReader::Table& table,
              ProblemList& problems)
{
    QString text = reader.decode(options, &table.encoding, &table.encodingGuessed);
    if (table.encodingGuessed)
        problems.append(
            {0, QString(), table.encoding,
             QCoreApplication::translate("CsvReader", "read as %1: the file is not UTF-8 and names no encoding")
                 .arg(table.encoding)});
    table.separator = options.separator.isNull() ? CsvReader::detectSeparator(text) : options.separator;
    return text;
}

} // namespace

CsvReader::CsvReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

QString CsvReader::decode(const Options& options, QString* encoding, bool* guessed) const
{
    const auto tell = [&](const QString& name, bool guess) {
        if (encoding)
            *encoding = name;
        if (guessed)
            *guessed = guess;
    };
    // A NUL or half a surrogate pair is no character: it shows as the replacement character, which the fitting
    // reports.
    const auto readable = [](QString text) {
        Encodings::replaceUnreadable(text);
        return text;
    };
    if (!options.encoding.isEmpty()) {
        if (std::optional<QString> text = Encodings::decode(m_bytes, options.encoding)) {
            tell(options.encoding, false);
            return readable(std::move(*text));
        }
    }

    std::optional<QStringDecoder::Encoding> unicode;
    if (m_bytes.startsWith("\xEF\xBB\xBF"))
        unicode = QStringDecoder::Utf8;
    else if (m_bytes.startsWith("\xFF\xFE"))
        unicode = QStringDecoder::Utf16LE;
    else if (m_bytes.startsWith("\xFE\xFF"))
        unicode = QStringDecoder::Utf16BE;
    else
        unicode = utf16ByZeros(m_bytes);
    if (!unicode && Encodings::isUtf8(m_bytes))
        unicode = QStringDecoder::Utf8;
    if (unicode) {
        // Stateless: a sequence cut off by the end of the file is replaced too, not dropped.
        QStringDecoder decoder(*unicode, QStringConverter::Flag::Stateless);
        tell(QString::fromLatin1(QStringConverter::nameForEncoding(*unicode)), false);
        return readable(decoder.decode(m_bytes));
    }
    if (std::optional<QString> text = Encodings::decode(m_bytes, options.fallbackEncoding)) {
        tell(options.fallbackEncoding, true);
        return readable(std::move(*text));
    }
    tell(QStringLiteral("ISO-8859-1"), true);
    return readable(QString::fromLatin1(m_bytes));
}

QChar CsvReader::detectSeparator(const QString& text)
{
    static const QChar candidates[] = {u',', u';', u'\t'};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted)
            for (int i = 0; i < 3; ++i)
                counts[i] += c == candidates[i] ? 1 : 0;
    }
    // Ties go to the comma, then the semicolon: a one-column file is comma-separated.
    return candidates[std::max_element(counts, counts + 3) - counts];
}

CsvReader::Table CsvReader::table(const Options& options, qsizetype maxRecords) const
{
    Table t;
    const QString text = start(*this, options, t, t.problems);
    Records records(text, options, t, t.problems);
    QStringList fields;
    int record = 0;
    while ((maxRecords < 0 || t.records.size() < maxRecords) && records.next(fields, record))
        t.records.append(fields);
    return t;
}

bool CsvReader::read(const Options& options, const Take& take, ProblemList& problems) const
{
    Table t;
    const QString text = start(*this, options, t, problems);
    Records records(text, options, t, problems);
    QStringList fields;
    int record = 0;
    bool more = records.next(fields, record); // the header, when there is one, comes with the first record
    const CsvColumns columns(options.columnNames.isEmpty() ? t.header : options.columnNames);
    if (!columns.readsAnything()) {
        problems.append(
            {0, QString(), QString(),
             t.hasHeader || !options.columnNames.isEmpty()
                 ? QCoreApplication::translate(
                       "CsvReader", "nothing read: no column name is one of a name, company, address or telephone")
                 : QCoreApplication::translate("CsvReader",
                                               "nothing read: the file has no header and no column names were given")});
        while (more)
            more = records.next(fields, record); // for the problems of the rows
        return t.encodingGuessed;
    }
    QMap<QString, int> unplaced;
    for (; more; more = records.next(fields, record)) {
        std::optional<Contact> contact = columns.contact(fields, record, problems, unplaced);
        if (contact && take)
            take(std::move(*contact), record);
    }
    ContactChoice::reportUnplaced(unplaced, problems);
    return t.encodingGuessed;
}

ReadResult CsvReader::read(const Options& options) const
{
    ReadResult result;
    read(
        options, [&result](Contact&& contact, int) { result.contacts.append(std::move(contact)); }, result.problems);
    return result;
}
