#include "exchange/AccessFile.h"

#include "exchange/Encodings.h"
#include "exchange/JetReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>

namespace {

QString s_readerProgram;
int s_baseMs = 15000;

// Jet counts days from 1899-12-30; the fraction is the time of day, also for days before it (-1.25 is
// 1899-12-29 06:00).
void fromJet(double value, QDate& date, QTime& time)
{
    double days = 0;
    const double fraction = std::fabs(std::modf(value, &days));
    qint64 seconds = std::llround(fraction * 86400.0);
    qint64 day = qint64(days);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    date = QDate(1899, 12, 30).addDays(day);
    time = QTime(0, 0).addSecs(int(seconds));
}

QString quoted(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

} // namespace

int AccessFile::Table::column(const QString& wanted) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const AccessFile::Table* AccessFile::table(const QString& name) const
{
    for (const Table& t : tables) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

bool AccessFile::hasSignature(const QByteArray& head)
{
    return head.size() >= 20 && (head.mid(4, 16) == QByteArray("Standard Jet DB\0", 16) ||
                                 head.mid(4, 16) == QByteArray("Standard ACE DB\0", 16));
}

bool AccessFile::hasSignature(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && hasSignature(file.read(20));
}

void AccessFile::setReaderProgram(const QString& program)
{
    s_readerProgram = program;
}

void AccessFile::setTimeLimit(int baseMs)
{
    s_baseMs = baseMs;
}

int AccessFile::timeLimitFor(qint64 bytes)
{
    return s_baseMs + int(bytes / (2 << 20)) * 1000;
}

AccessFile::Result AccessFile::read(const QByteArray& bytes, const QString& encoding)
{
    if (bytes.isEmpty())
        return {std::nullopt, QCoreApplication::translate("AccessFile", "it is empty")};
    if (!hasSignature(bytes))
        return {std::nullopt, QCoreApplication::translate("AccessFile", "it is not an Access database file")};
    QProcess reader;
    reader.setProgram(s_readerProgram.isEmpty() ? QCoreApplication::applicationFilePath() : s_readerProgram);
    reader.setArguments({QString::fromLatin1(JetReader::kOption)});
    reader.setProcessChannelMode(QProcess::SeparateChannels);
    reader.setStandardErrorFile(QProcess::nullDevice());
    reader.start();
    if (!reader.waitForStarted())
        return {std::nullopt,
                QCoreApplication::translate("AccessFile", "the reader of Access files cannot be started (%1)")
                    .arg(reader.errorString())};
    reader.write(bytes);
    reader.closeWriteChannel();
    if (!reader.waitForFinished(timeLimitFor(bytes.size()))) {
        reader.kill();
        reader.waitForFinished(-1);
        return {std::nullopt,
                QCoreApplication::translate("AccessFile", "reading it did not come to an end (the file is damaged)")};
    }
    const QByteArray output = reader.readAllStandardOutput();
    if (reader.exitStatus() != QProcess::NormalExit)
        return {std::nullopt, QCoreApplication::translate("AccessFile", "reading it failed (the file is damaged)")};
    return parse(output, encoding);
}

namespace {

// A Jet 3 text, which the reader passes on a byte a character, in `encoding`; notes in `file` whether the encoding
// mattered and whether the text decoded cleanly.
QString jet3Text(const QByteArray& value, const QString& encoding, AccessFile& file)
{
    const QByteArray raw = QString::fromUtf8(value).toLatin1();
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return uchar(c) < 0x80; });
    file.encodingUsed = file.encodingUsed || !ascii;
    file.encoding = encoding;
    if (ascii)
        return QString::fromLatin1(raw);
    const std::optional<QString> decoded = Encodings::decode(raw, encoding);
    file.cleanText = file.cleanText && decoded && !decoded->contains(QChar::ReplacementCharacter);
    return decoded.value_or(QString::fromLatin1(raw));
}

// One record of the reader's output: a letter saying what it holds, the value's length in digits, a colon, the value.
struct Record
{
    char kind = 0;
    QByteArray value;
};

// The record at `pos`, with `pos` moved past it; nothing when the output is cut short or malformed there.
std::optional<Record> nextRecord(const QByteArray& output, qsizetype& pos)
{
    const char kind = output.at(pos);
    const qsizetype colon = output.indexOf(':', pos + 1);
    if (colon < 0)
        return std::nullopt;
    bool ok = false;
    const qint64 length = output.mid(pos + 1, colon - pos - 1).toLongLong(&ok);
    if (!ok || length < 0 || length > output.size() - colon - 1)
        return std::nullopt;
    pos = colon + 1 + length;
    return Record{kind, output.mid(colon + 1, length)};
}

// The cell of an 'N' (NULL), 'S' (text) or 'D' (date) record; nothing for a date that is no day a file can hold.
std::optional<AccessFile::Cell> cellOf(const Record& record, const QString& jet3Encoding, AccessFile& file)
{
    AccessFile::Cell cell;
    if (record.kind == 'S') {
        cell.kind = AccessFile::Cell::Kind::Text;
        cell.text = file.format == AccessFile::Format::Jet3 ? jet3Text(record.value, jet3Encoding, file)
                                                            : QString::fromUtf8(record.value);
    } else if (record.kind == 'D') {
        bool ok = false;
        const double jet = record.value.toDouble(&ok);
        if (!ok || !std::isfinite(jet) || std::fabs(jet) > 3e6)
            return std::nullopt;
        cell.kind = AccessFile::Cell::Kind::Date;
        fromJet(jet, cell.date, cell.time);
    }
    return cell;
}

// The reader's reason: its English text with %1, %2... and the values that fill them, each after a unit separator.
QString readerReason(const QByteArray& value)
{
    const QList<QByteArray> parts = value.split('\x1f');
    const QString reason = QCoreApplication::translate("JetReader", parts.constFirst().constData());
    // In one arg() each, so that a name holding "%2" stays as it is.
    const auto at = [&parts](qsizetype i) { return QString::fromUtf8(parts.value(i)); };
    switch (parts.size()) {
    case 1:
        return reason;
    case 2:
        return reason.arg(at(1));
    case 3:
        return reason.arg(at(1), at(2));
    default:
        return reason.arg(at(1), at(2), at(3));
    }
}

} // namespace

AccessFile::Result AccessFile::parse(const QByteArray& output, const QString& encoding)
{
    const auto damaged = [] {
        return Result{std::nullopt,
                      QCoreApplication::translate("AccessFile", "reading it failed (the file is damaged)")};
    };

    AccessFile file;
    Table* table = nullptr;
    QList<Cell>* row = nullptr;
    bool ended = false;
    QString jet3Encoding = encoding;
    qsizetype pos = 0;
    while (pos < output.size() && !ended) {
        const std::optional<Record> record = nextRecord(output, pos);
        if (!record)
            return damaged();
        const QByteArray& value = record->value;
        const auto cellsComplete = [&] { return !row || row->size() == table->columns.size(); };
        switch (record->kind) {
        case 'V':
            file.format = value == "jet3" ? Format::Jet3 : value == "jet4" ? Format::Jet4 : Format::Ace;
            break;
        case 'P':
            file.codePage = value.toInt();
            if (jet3Encoding.isEmpty())
                jet3Encoding = file.codePage > 0 && file.codePage != 1252
                                   ? QStringLiteral("windows-%1").arg(file.codePage)
                                   : QStringLiteral("windows-1252");
            break;
        case 'T':
            if (!cellsComplete())
                return damaged();
            file.tables.append({QString::fromUtf8(value), {}, {}, {}});
            table = &file.tables.last();
            row = nullptr;
            break;
        case 'C': {
            const qsizetype space = value.indexOf(' ');
            if (!table || !table->rows.isEmpty() || space < 0)
                return damaged();
            table->types.append(value.left(space).toInt());
            table->columns.append(QString::fromUtf8(value.mid(space + 1)));
            break;
        }
        case 'R':
            if (!table || !cellsComplete())
                return damaged();
            table->rows.append(QList<Cell>());
            row = &table->rows.last();
            break;
        case 'N':
        case 'S':
        case 'D': {
            if (!row || row->size() >= table->columns.size())
                return damaged();
            const std::optional<Cell> cell = cellOf(*record, jet3Encoding, file);
            if (!cell)
                return damaged();
            row->append(*cell);
            break;
        }
        case 'O':
            file.otherTables.append(QString::fromUtf8(value));
            break;
        case 'X':
            return {std::nullopt, readerReason(value)};
        case 'Z':
            if (!cellsComplete())
                return damaged();
            ended = true;
            break;
        default:
            return damaged();
        }
    }
    if (!ended)
        return damaged();
    return {file, QString()};
}

QByteArray AccessFile::dump() const
{
    QString out;
    for (const Table& t : tables) {
        for (int r = 0; r < t.rows.size(); ++r) {
            const QList<Cell>& row = t.rows.at(r);
            for (int c = 0; c < row.size(); ++c) {
                const Cell& cell = row.at(c);
                QString value;
                if (cell.kind == Cell::Kind::Null)
                    value = QStringLiteral("NULL");
                else if (cell.kind == Cell::Kind::Date)
                    value = cell.date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
                            cell.time.toString(QStringLiteral("HH:mm:ss"));
                else if (t.types.at(c) == 10 || t.types.at(c) == 12)
                    value = quoted(cell.text);
                else
                    value = cell.text;
                out += QStringLiteral("%1[%2].%3 = %4\n").arg(t.name).arg(r + 1).arg(t.columns.at(c), value);
            }
        }
    }
    return out.toUtf8();
}
