#include "DataControl.h"

#include "SearchIndex.h"

DataControl::DataControl(QObject* parent) : QObject(parent) {}

DataControl::~DataControl() = default;

void DataControl::setDatabaseName(const QString& path)
{
    if (path == m_databaseName)
        return;
    m_databaseName = path;
    m_recordset.reset();
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
    else
        m_database->checkCollation();
    // Run beside the old cursor, the statement would see the file as it was when that cursor began.
    if (m_recordset)
        m_recordset->release();
    std::unique_ptr<::Recordset> next;
    if (const auto pattern = SearchIndex::patternOf(m_recordSource)) {
        // The free-text search: the same rows, found through the in-memory copy of the searched columns.
        next = std::make_unique<::Recordset>(m_database, QStringLiteral("tblTel"),
                                             SearchIndex::forFile(m_databaseName)->find(*pattern));
    } else {
        next = std::make_unique<::Recordset>(m_database, m_recordSource);
    }
    m_recordset = std::move(next);
    Q_EMIT refreshed();
}
