#include "DataControl.h"

#include "SearchIndex.h"

#include <QRegularExpression>

namespace {

// The statement that reads a book in its rows' key order, for the directory window's statement that reads a whole
// book ordered by its own sort column; the key is made from that column. Any other statement runs as written: the
// names of one letter come in the engine's own order, which finds a letter's first screen at once (in key order,
// every name before the letter would be read first).
std::optional<QString> inKeyOrder(const QString& sql, QString* book = nullptr)
{
    static const QRegularExpression shape(
        QStringLiteral("^SELECT \\* FROM tblTel WHERE Category = '(Personal|Business)' ORDER BY (\\w+)$"));
    const QRegularExpressionMatch match = shape.match(sql);
    if (!match.hasMatch())
        return std::nullopt;
    if (match.captured(2) != (match.captured(1) == QLatin1String("Business") ? QLatin1String("BusName")
                                                                             : QLatin1String("Lname")))
        return std::nullopt;
    if (book)
        *book = match.captured(1);
    return sql.left(match.capturedStart(2)) + QStringLiteral("SortKey, rowid");
}

} // namespace

DataControl::DataControl(QObject* parent) : QObject(parent) {}

DataControl::~DataControl() = default;

void DataControl::setDatabaseName(const QString& path)
{
    if (path == m_databaseName)
        return;
    m_databaseName = path;
    m_recordset.reset();
    m_keyedBook.clear();
    m_database.reset();
}

void DataControl::setRecordSource(const QString& sql)
{
    m_recordSource = sql;
}

void DataControl::Refresh()
{
    if (!m_database)
        m_database = Database::open(m_databaseName);
    // Run beside the old cursor, the statement would see the file as it was when that cursor began.
    if (m_recordset)
        m_recordset->release();
    FoundRows lines;
    std::unique_ptr<::Recordset> next;
    QString keyedBook;
    if (const auto pattern = SearchIndex::patternOf(m_recordSource)) {
        // The free-text search: the same rows, found through the in-memory copy of the searched columns.
        SearchIndex::Result found = SearchIndex::forFile(m_databaseName)->search(*pattern);
        next = std::make_unique<::Recordset>(m_database, QStringLiteral("tblTel"), std::move(found.keys));
        lines = std::move(found.lines);
    } else {
        // Rows without keys (a file that cannot be written, another tool busy writing) keep the statement's own
        // order, which SQLite gives in every case.
        QString book;
        const auto keyed = inKeyOrder(m_recordSource, &book);
        const bool inKeys = keyed && m_database->refreshSortKeys();
        next = std::make_unique<::Recordset>(m_database, inKeys ? *keyed : m_recordSource);
        if (inKeys)
            keyedBook = book;
    }
    m_dataVersion = m_database->dataVersion();
    m_recordset = std::move(next);
    m_found = std::move(lines);
    m_keyedBook = keyedBook;
    Q_EMIT refreshed();
}

bool DataControl::refreshIfChanged()
{
    if (!m_database || m_database->dataVersion() == m_dataVersion)
        return false;
    Refresh();
    return true;
}
