#include "data/EntryWriter.h"

#include "data/Database.h"
#include "data/Query.h"
#include "data/Recordset.h"

#include <sqlite3.h>

EntryWriter::EntryWriter(const QString& databasePath)
    : m_db(Database::open(databasePath)), m_rows(std::make_unique<Recordset>(m_db, Query::entries().statement()))
{
}

EntryWriter::~EntryWriter() = default;

QString EntryWriter::Entry::operator[](const QString& column) const
{
    return m_rows.Fields(column).Value().toString();
}

void EntryWriter::readEntries(const std::function<void(const Entry&)>& each)
{
    // A fresh cursor from the first row; it lets go of the file once past the last.
    Recordset rows(m_db, Query::entries().statement());
    const Entry entry(rows);
    for (; !rows.Eof(); rows.MoveNext())
        each(entry);
}

QList<StoredRows::Row> EntryWriter::newMessages(const QList<StoredRows::Row>& rows)
{
    return StoredRows::newMessages(*m_db, rows);
}

void EntryWriter::transaction(const std::function<void()>& work)
{
    m_db->transaction(work);
}

void EntryWriter::set(const QString& column, const QString& value)
{
    if (!m_adding) {
        m_rows->AddNew();
        m_adding = true;
    }
    m_rows->setCollect(column, value);
}

qint64 EntryWriter::add()
{
    if (!m_adding)
        m_rows->AddNew();
    m_adding = false;
    m_rows->Update();
    return sqlite3_last_insert_rowid(m_db->handle());
}

void EntryWriter::addMessages(const QList<StoredRows::Row>& rows)
{
    StoredRows::addMessages(*m_db, rows);
}
