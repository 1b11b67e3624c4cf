#include "DataControl.h"

#include "Book.h"
#include "SearchIndex.h"

DataControl::DataControl(QObject* parent) : QObject(parent) {}

DataControl::~DataControl() = default;

void DataControl::setDatabaseName(const QString& path)
{
    if (path == m_databaseName)
        return;
    m_databaseName = path;
    m_recordset.reset();
    m_keyedBook = nullptr;
    m_database.reset();
}

void DataControl::setRecordSource(const Query& query)
{
    m_recordSource = query.statement();
    m_query = query;
}

void DataControl::setRecordSource(const QString& sql)
{
    m_recordSource = sql;
    m_query.reset();
}

void DataControl::Refresh()
{
    if (!m_database)
        m_database = Database::open(m_databaseName);
    // Run beside the old cursor, the statement would see the file as it was when that cursor began.
    if (m_recordset)
        m_recordset->release();
    FoundRows lines;
    QVector<qint64> foundKeys;
    std::unique_ptr<::Recordset> next;
    const Book* keyedBook = nullptr;
    const Query::Kind kind = m_query ? m_query->kind() : Query::Kind::Entries;
    if (kind == Query::Kind::Search) {
        // The same rows, found through the in-memory copy of the searched columns.
        SearchIndex::Result found = SearchIndex::forFile(m_databaseName)->search(m_query->searchPattern());
        foundKeys = found.keys; // shared with the record set's, not copied
        next = std::make_unique<::Recordset>(m_database, QStringLiteral("tblTel"), std::move(found.keys));
        lines = std::move(found.lines);
    } else if (kind == Query::Kind::Book && m_database->refreshSortKeys()) {
        // The book's rows in the order of their keys, made from its sort column. (The names of one letter come in
        // the engine's own order, which finds a letter's first screen at once: in key order, every name before the
        // letter would be read first.)
        const Book& book = *m_query->book();
        next = std::make_unique<::Recordset>(m_database, QStringLiteral("SELECT * FROM tblTel WHERE Category = '") +
                                                             book.name() + QStringLiteral("' ORDER BY SortKey, rowid"));
        keyedBook = &book;
    } else {
        // Rows without keys (a file that cannot be written, another tool busy writing) keep the statement's own
        // order, which SQLite gives in every case.
        next = std::make_unique<::Recordset>(m_database, m_recordSource);
    }
    m_dataVersion = m_database->dataVersion();
    m_recordset = std::move(next);
    m_found = std::move(lines);
    m_foundKeys = std::move(foundKeys);
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
