#include "data/EntryWriter.h"

#include "data/Columns.h"
#include "data/Contact.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Recordset.h"

#include <sqlite3.h>

EntryWriter::EntryWriter(const QString& databasePath) : m_db(Database::open(databasePath)) {}

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

qint64 EntryWriter::add(const Contact& entry)
{
    if (!m_insert.isValid()) {
        QStringList names;
        for (const Columns::Column& column : Columns::kAll)
            names << QLatin1Char('"') + column.columnName() + QLatin1Char('"');
        m_insert =
            Statement(m_db->handle(), QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2)")
                                          .arg(names.join(QLatin1Char(',')),
                                               QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','))));
    }
    // Reset whatever happens, so the statement never holds the file between entries.
    struct Reset
    {
        Statement& statement;
        ~Reset() { statement.reset(); }
    } reset{m_insert};
    int index = 1;
    for (const Columns::Column& column : Columns::kAll) {
        const QByteArray text = (entry.*column.field).toUtf8();
        sqlite3_bind_text(m_insert.handle(), index++, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    m_insert.step();
    return sqlite3_last_insert_rowid(m_db->handle());
}

void EntryWriter::addMessages(const QList<StoredRows::Row>& rows)
{
    StoredRows::addMessages(*m_db, rows);
}
