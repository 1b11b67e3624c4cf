#include "exchange/AccessImport.h"

#include "data/Book.h"
#include "data/Columns.h"
#include "data/Schema.h"
#include "exchange/ContactFit.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

using Cell = AccessFile::Cell;

qsizetype codePoints(const QString& text)
{
    return text.toUcs4().size();
}

QString shown(const Cell& cell)
{
    if (cell.kind == Cell::Kind::Date)
        return cell.date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
               cell.time.toString(QStringLiteral("HH:mm:ss"));
    return cell.text;
}

QString yearTooEarly()
{
    return QCoreApplication::translate("AccessImport", "a year before 1000 cannot be stored");
}

// The columns of a table the program does not use, with how many values they held.
void listUnused(const AccessFile::Table& table, const QStringList& used, QStringList& notCarried)
{
    for (int c = 0; c < table.columns.size(); ++c) {
        if (used.contains(table.columns.at(c), Qt::CaseInsensitive))
            continue;
        int values = 0;
        for (const QList<Cell>& row : table.rows)
            values += row.at(c).kind != Cell::Kind::Null;
        notCarried << QCoreApplication::translate("AccessImport", "%1.%2 (%n values)", nullptr, values)
                          .arg(table.name, table.columns.at(c));
    }
}

QStringList missing(const AccessFile::Table& table, const QStringList& wanted)
{
    QStringList names;
    for (const QString& column : wanted) {
        if (table.column(column) < 0)
            names << column;
    }
    return names;
}

bool isText(int type)
{
    return type == 10 || type == 12; // text, memo
}

bool isDate(int type)
{
    return type == 8;
}

// The rows of tblTel as they are; a text wider than its column is a problem (the file's columns check widths).
void copyEntries(const AccessFile::Table& tel, const QList<int>& index, AccessImport::Copy& result)
{
    const QStringList& columns = StoredRows::telColumns();
    for (int r = 0; r < tel.rows.size(); ++r) {
        StoredRows::Row row;
        for (int c = 0; c < columns.size(); ++c) {
            const Cell& cell = tel.rows.at(r).at(index.at(c));
            if (cell.kind == Cell::Kind::Null) {
                row.append(std::nullopt);
                continue;
            }
            const int width = Schema::widthOf(QStringLiteral("tblTel"), columns.at(c));
            if (codePoints(cell.text) > width)
                result.problems.append(
                    {r + 1, columns.at(c), cell.text,
                     QCoreApplication::translate("AccessImport", "longer than the %1 characters the column holds")
                         .arg(width)});
            row.append(cell.text);
        }
        result.rows.tel.append(row);
    }
}

// The rows of tblMes: a date keeps its day, a time its time of day, and whatever else they held is a problem.
void copyMessages(const AccessFile::Table& mes, const QList<int>& index, AccessImport::Copy& result)
{
    const QStringList& columns = StoredRows::mesColumns();
    for (int r = 0; r < mes.rows.size(); ++r) {
        const QList<Cell>& cells = mes.rows.at(r);
        StoredRows::Row row;
        const Cell& day = cells.at(index.at(0));
        if (day.kind == Cell::Kind::Null) {
            row.append(std::nullopt);
        } else {
            if (day.date.year() < 1000)
                result.problems.append({r + 1, QStringLiteral("tblMes.Cdate"), shown(day), yearTooEarly()});
            else if (day.time != QTime(0, 0))
                result.problems.append({r + 1, QStringLiteral("tblMes.Cdate"), shown(day),
                                        QCoreApplication::translate("AccessImport", "the time of day is left out")});
            row.append(day.date.toString(QStringLiteral("yyyy-MM-dd")));
        }
        const Cell& time = cells.at(index.at(1));
        if (time.kind == Cell::Kind::Null) {
            row.append(std::nullopt);
        } else {
            if (time.date != QDate(1899, 12, 30))
                result.problems.append({r + 1, QStringLiteral("tblMes.Ctime"), shown(time),
                                        QCoreApplication::translate("AccessImport", "the date is left out")});
            row.append(time.time.toString(QStringLiteral("HH:mm:ss")));
        }
        for (int c = 2; c < columns.size(); ++c) {
            const Cell& cell = cells.at(index.at(c));
            row.append(cell.kind == Cell::Kind::Null ? StoredRows::Cell() : StoredRows::Cell(cell.text));
        }
        result.rows.mes.append(row);
    }
}

} // namespace

AccessImport::Copy AccessImport::copy(const AccessFile& file)
{
    Copy result;
    const AccessFile::Table* tel = file.table(QStringLiteral("tblTel"));
    if (!tel) {
        result.problem = QCoreApplication::translate(
            "AccessImport", "it holds no table tblTel, so it is no data file of a telephone directory");
        return result;
    }
    const QStringList& telColumns = StoredRows::telColumns();
    const QStringList& mesColumns = StoredRows::mesColumns();
    if (const QStringList absent = missing(*tel, telColumns); !absent.isEmpty()) {
        result.problem = QCoreApplication::translate("AccessImport", "its table tblTel lacks the columns %1")
                             .arg(absent.join(QStringLiteral(", ")));
        return result;
    }
    QList<int> telIndex;
    for (const QString& column : telColumns) {
        telIndex << tel->column(column);
        if (!isText(tel->types.at(telIndex.last()))) {
            result.problem =
                QCoreApplication::translate("AccessImport", "its column tblTel.%1 holds no text").arg(column);
            return result;
        }
    }
    const AccessFile::Table* mes = file.table(QStringLiteral("tblMes"));
    QList<int> mesIndex;
    if (mes) {
        if (const QStringList absent = missing(*mes, mesColumns); !absent.isEmpty()) {
            result.problem = QCoreApplication::translate("AccessImport", "its table tblMes lacks the columns %1")
                                 .arg(absent.join(QStringLiteral(", ")));
            return result;
        }
        for (int c = 0; c < mesColumns.size(); ++c) {
            mesIndex << mes->column(mesColumns.at(c));
            const int type = mes->types.at(mesIndex.last());
            if (c < 2 ? !isDate(type) : !isText(type)) {
                result.problem =
                    (c < 2 ? QCoreApplication::translate("AccessImport", "its column tblMes.%1 holds no dates")
                           : QCoreApplication::translate("AccessImport", "its column tblMes.%1 holds no text"))
                        .arg(mesColumns.at(c));
                return result;
            }
        }
    }

    copyEntries(*tel, telIndex, result);
    listUnused(*tel, telColumns, result.notCarried);

    if (!mes) {
        result.notCarried << QCoreApplication::translate("AccessImport", "(the file holds no message log, tblMes)");
    } else {
        copyMessages(*mes, mesIndex, result);
        listUnused(*mes, mesColumns, result.notCarried);
    }
    for (const QString& other : file.otherTables)
        result.notCarried << QCoreApplication::translate("AccessImport", "the table %1 (not read)").arg(other);
    return result;
}

namespace {

// A value an entry window could have stored as it is: a text within its column, a zip or telephone mask typed
// wholly, partly or not at all.
bool inStoredForm(const Columns::Column& column, const QString& value)
{
    static const QRegularExpression telephone(QStringLiteral("^[0-9_]{3} - [0-9_]{7}$"));
    static const QRegularExpression zip(QStringLiteral("^[0-9_]{5}$"));
    if (column.mask == Columns::kZipMask)
        return zip.match(value).hasMatch();
    if (column.mask == Columns::kTelephoneMask)
        return telephone.match(value).hasMatch();
    return codePoints(value) <= column.width;
}

} // namespace

bool AccessImport::keepsPart(const ExchangeProblem& problem)
{
    return problem.field.startsWith(QLatin1String("tblMes.")) && problem.action != yearTooEarly();
}

ReadResult AccessImport::read(const QByteArray& bytes, const QString& name, const QString& encoding, bool* encodingUsed)
{
    ReadResult result;
    const AccessFile::Result read = AccessFile::read(bytes, encoding);
    if (!read.file) {
        result.problems.append(
            {0, QString(), name, QCoreApplication::translate("AccessImport", "cannot be read: %1").arg(read.problem)});
        return result;
    }
    if (encodingUsed)
        *encodingUsed = read.file->encodingUsed;
    const Copy copied = copy(*read.file);
    if (!copied.problem.isEmpty()) {
        result.problems.append(
            {0, QString(), name,
             QCoreApplication::translate("AccessImport", "cannot be imported: %1").arg(copied.problem)});
        return result;
    }
    const QStringList& columns = StoredRows::telColumns();
    std::array<const Columns::Column*, Columns::kCount> table{};
    for (int c = 0; c < columns.size(); ++c)
        table.at(std::size_t(c)) = Columns::named(columns.at(c));
    for (int r = 0; r < copied.rows.tel.size(); ++r) {
        const StoredRows::Row& row = copied.rows.tel.at(r);
        QStringList raw;
        for (const StoredRows::Cell& cell : row)
            raw << cell.value_or(QString());
        Contact contact;
        for (int c = 0; c < columns.size(); ++c)
            contact.*table.at(std::size_t(c))->field = raw.at(c);
        ContactFit::Result fitted = ContactFit::fit(contact, r + 1);
        // What the old program stored goes in as it was; only what no entry window stores is brought to a stored form.
        for (int c = 0; c < columns.size(); ++c) {
            const Columns::Column& column = *table.at(std::size_t(c));
            const bool personalCompany =
                column.field == &Contact::busName && fitted.contact.category != ::Book::Business.name();
            if (!row.at(c) || personalCompany || column.field == &Contact::category ||
                !inStoredForm(column, *row.at(c)))
                continue;
            fitted.contact.*column.field = *row.at(c);
            fitted.problems.removeIf([&](const ExchangeProblem& p) { return p.field == columns.at(c); });
        }
        for (const ExchangeProblem& problem : std::as_const(fitted.problems))
            result.problems.append(problem);
        if (!fitted.empty)
            result.contacts.append(fitted.contact, {0, int(r + 1)});
    }
    result.messages = copied.rows.mes;
    for (ExchangeProblem problem : copied.problems) {
        if (problem.field.startsWith(QLatin1String("tblMes."))) {
            problem.field = QCoreApplication::translate("AccessImport", "message %1 %2")
                                .arg(QString::number(problem.record), problem.field.mid(7));
            problem.record = 0;
            result.problems.append(problem);
        }
    }
    for (const QString& column : copied.notCarried)
        result.problems.append(
            {0, QString(), column,
             QCoreApplication::translate("AccessImport", "not carried over: the directory has no place for it")});
    if (result.contacts.isEmpty() && result.messages.isEmpty() && result.problems.isEmpty())
        result.problems.append(
            {0, QString(), name, QCoreApplication::translate("AccessImport", "holds no entry and no message")});
    return result;
}
