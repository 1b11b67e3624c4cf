#include "data/Recordset.h"

#include "data/DateRules.h"
#include "data/UndoLog.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <sqlite3.h>

Recordset::Recordset(std::shared_ptr<Database> db, const QString& sql)
    : m_db(std::move(db)), m_stmt(m_db->handle(), sql)
{
    if (m_stmt.columnCount() > 0) {
        if (const char* table = sqlite3_column_table_name(m_stmt.handle(), 0))
            m_table = QString::fromUtf8(table);
    }
    describe();
}

Recordset::Recordset(std::shared_ptr<Database> db, const QString& sql, const QVariantList& parameters)
    : Recordset(std::move(db), sql)
{
    for (int i = 0; i < parameters.size(); ++i)
        m_stmt.bind(i + 1, parameters.at(i));
}

Recordset::Recordset(std::shared_ptr<Database> db, const QString& table, QVector<qint64> keys)
    : m_db(std::move(db)), m_table(table), m_keyed(true), m_rowKeys(std::move(keys))
{
    // The columns of SELECT *, less the sort key, which only orders a book: a search reads up to every row, and
    // SQLite copies each result column of each row it steps to.
    QStringList names;
    for (const auto& column : m_db->columns(m_table)) {
        if (column.isIntegerKey)
            m_keyName = column.name;
        if (column.name.compare(QLatin1String("SortKey"), Qt::CaseInsensitive) != 0)
            names << QLatin1Char('"') + QString(column.name).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                         QLatin1Char('"');
    }
    if (m_keyName.isEmpty())
        throw DbError(DbError::NotUpdatable,
                      QCoreApplication::translate("Recordset", "The table %1 has no key column.").arg(m_table));
    // Read through const iterators: keys already in order stay shared with whoever gave them (a million of them, say).
    if (!std::is_sorted(m_rowKeys.cbegin(), m_rowKeys.cend()))
        std::sort(m_rowKeys.begin(), m_rowKeys.end());
    // One statement walks the table in key order from a given key: the rows between two wanted keys are stepped
    // over while they are few, and the walk jumps ahead where they are many. All of it reads one snapshot.
    m_stmt = Statement(m_db->handle(), QStringLiteral("SELECT %3 FROM \"%1\" WHERE \"%2\" >= ? ORDER BY \"%2\"")
                                           .arg(m_table, m_keyName, names.join(QLatin1Char(','))));
    describe();
}

void Recordset::readFirst()
{
    // Every record set is made by a data control and changed through it; reading its first row is no change a
    // caller can see, so the const accessors may do it (see start()).
    m_started = true;
    m_eof = !step();
}

void Recordset::describe()
{
    for (int c = 0; c < m_stmt.columnCount(); ++c)
        m_columnNames.append(m_stmt.columnName(c));
    if (m_table.isEmpty())
        return;
    m_tableColumns = m_db->columns(m_table);
    for (const auto& column : std::as_const(m_tableColumns)) {
        if (!column.isIntegerKey)
            continue;
        for (int c = 0; c < m_stmt.columnCount(); ++c) {
            const char* origin = sqlite3_column_origin_name(m_stmt.handle(), c);
            const char* table = sqlite3_column_table_name(m_stmt.handle(), c);
            if (origin && table && column.name.compare(QString::fromUtf8(origin), Qt::CaseInsensitive) == 0 &&
                m_table == QString::fromUtf8(table))
                m_keyColumn = c;
        }
    }
}

bool Recordset::step()
{
    const bool row = m_keyed ? stepKeyed() : m_stmt.step();
    if (!row)
        m_stmt.reset(); // lets go of the file
    return row;
}

bool Recordset::stepKeyed()
{
    constexpr qint64 kStepOver = 64;
    while (++m_rowKeyPos < m_rowKeys.size()) {
        const qint64 wanted = m_rowKeys.at(m_rowKeyPos);
        if (!m_walking || wanted - m_walkKey > kStepOver) {
            m_stmt.reset();
            m_stmt.bind(1, wanted);
            m_walking = m_stmt.step();
            if (!m_walking)
                return false; // no row from here on: every remaining key was deleted since it was found
            m_walkKey = m_stmt.int64(m_keyColumn);
        }
        while (m_walking && m_walkKey < wanted) {
            m_walking = m_stmt.step();
            if (m_walking)
                m_walkKey = m_stmt.int64(m_keyColumn);
        }
        if (m_walking && m_walkKey == wanted)
            return true;
        // The row was deleted since it was found: go on with the next key.
    }
    return false;
}

void Recordset::release()
{
    m_stmt.reset();
    m_started = true;
    m_eof = true;
}

void Recordset::MoveNext()
{
    start();
    if (m_eof)
        throw DbError(DbError::NoCurrentRecord,
                      QCoreApplication::translate("Recordset", "There is no current record."));
    m_eof = !step();
}

int Recordset::columnIndex(const QString& name) const
{
    // Called for every field of every row a search lists: compare in place rather than build a lower-case key.
    for (int c = 0; c < m_columnNames.size(); ++c) {
        if (m_columnNames.at(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

Field Recordset::Fields(const QString& name) const
{
    const int column = columnIndex(name);
    if (column < 0)
        throw DbError(DbError::ItemNotFound,
                      QCoreApplication::translate("Recordset", "Item not found in this collection: %1.").arg(name));
    start();
    if (m_eof)
        throw DbError(DbError::NoCurrentRecord,
                      QCoreApplication::translate("Recordset", "There is no current record."));
    return Field{m_stmt.value(column)};
}

qint64 Recordset::currentKey() const
{
    start();
    return m_keyColumn >= 0 && !m_eof ? m_stmt.int64(m_keyColumn) : -1;
}

const Database::ColumnInfo& Recordset::tableColumn(const QString& name) const
{
    for (const auto& column : m_tableColumns) {
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    throw DbError(DbError::ItemNotFound,
                  QCoreApplication::translate("Recordset", "Item not found in this collection: %1.").arg(name));
}

void Recordset::AddNew()
{
    if (m_table.isEmpty())
        throw DbError(DbError::NotUpdatable,
                      QCoreApplication::translate("Recordset", "This record set cannot take new rows."));
    m_adding = true;
    m_editing = false;
    m_newRow.clear();
}

std::optional<QHash<QString, QVariant>> Recordset::readRow(qint64 key) const
{
    Statement row(m_db->handle(), QStringLiteral("SELECT * FROM \"%1\" WHERE rowid = ?").arg(m_table));
    row.bind(1, key);
    if (!row.step())
        return std::nullopt;
    QHash<QString, QVariant> values;
    for (int c = 0; c < row.columnCount(); ++c)
        values.insert(row.columnName(c), row.value(c));
    row.reset();
    return values;
}

void Recordset::Edit(qint64 key)
{
    if (m_table.isEmpty())
        throw DbError(DbError::NotUpdatable,
                      QCoreApplication::translate("Recordset", "This record set cannot be edited."));
    // The cursor would keep the write from starting.
    release();
    auto row = readRow(key);
    if (!row)
        throw DbError(
            DbError::ChangedElsewhere,
            QCoreApplication::translate("Recordset", "The entry was deleted elsewhere, so it cannot be opened."));
    m_editRow = std::move(*row);
    m_editKey = key;
    m_editing = true;
    m_adding = false;
    m_newRow.clear();
}

QVariant Recordset::convertForColumn(const Database::ColumnInfo& column, const QVariant& value) const
{
    if (value.isNull())
        return value;
    const QString text = value.toString();
    if (column.declaredType == QLatin1String("DATE")) {
        const auto date = DateRules::parseDate(text, QLocale(), QDate::currentDate());
        if (!date)
            throw DbError(DbError::ConversionError,
                          QCoreApplication::translate("Recordset",
                                                      "\"%1\" is not a date, so it cannot be stored in the field %2.")
                              .arg(text, column.name));
        return DateRules::storedDate(*date);
    }
    if (column.declaredType == QLatin1String("TIME")) {
        const auto time = DateRules::parseTime(text, QLocale());
        if (!time)
            throw DbError(DbError::ConversionError,
                          QCoreApplication::translate(
                              "Recordset", "\"%1\" is not a time of day, so it cannot be stored in the field %2.")
                              .arg(text, column.name));
        return DateRules::storedTime(*time);
    }
    if (column.declaredType == QLatin1String("INTEGER"))
        return value;
    return text;
}

void Recordset::setCollect(const QString& name, const QVariant& value)
{
    if (!m_adding && !m_editing)
        throw DbError(DbError::UpdateWithoutAddNew,
                      QCoreApplication::translate("Recordset", "Update or CancelUpdate without AddNew or Edit."));
    const auto& column = tableColumn(name);
    m_newRow.insert(column.name, convertForColumn(column, value));
}

QVariant Recordset::Collect(const QString& name) const
{
    const auto& column = tableColumn(name);
    if (m_adding || (m_editing && m_newRow.contains(column.name)))
        return m_newRow.value(column.name);
    if (m_editing)
        return m_editRow.value(column.name);
    return Fields(column.name).Value();
}

void Recordset::Update()
{
    if (m_editing) {
        updateEdited();
        return;
    }
    if (!m_adding)
        throw DbError(DbError::UpdateWithoutAddNew,
                      QCoreApplication::translate("Recordset", "Update or CancelUpdate without AddNew or Edit."));
    // The columns this row sets, in the table's order; while they are those of the row before, so is the statement.
    bool same = m_insert.isValid();
    qsizetype set = 0;
    for (int c = 0; c < m_tableColumns.size(); ++c) {
        if (!m_newRow.contains(m_tableColumns.at(c).name))
            continue;
        same = same && set < m_insertColumns.size() && m_insertColumns.at(set) == c;
        ++set;
    }
    if (!same || set != m_insertColumns.size()) {
        QStringList names;
        QStringList marks;
        m_insertColumns.clear();
        for (int c = 0; c < m_tableColumns.size(); ++c) {
            if (!m_newRow.contains(m_tableColumns.at(c).name))
                continue;
            m_insertColumns.append(c);
            names << QLatin1Char('"') + m_tableColumns.at(c).name + QLatin1Char('"');
            marks << QStringLiteral("?");
        }
        const QString sql = names.isEmpty()
                                ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(m_table)
                                : QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                      .arg(m_table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        m_insert = Statement();
        m_insert = Statement(m_db->handle(), sql);
    }
    // The windows read again after every save; until then the cursor would keep the write from starting (or
    // waiting for another copy's write to end).
    release();
    // A refused row leaves nothing behind. The buffer stays, so the caller can mend a value and try again.
    UndoLog::Recording step(m_table.compare(QLatin1String("tblMes"), Qt::CaseInsensitive) == 0
                                ? QCoreApplication::translate("Recordset", "Saved Message")
                                : QCoreApplication::translate("Recordset", "Saved Entry"));
    m_db->transaction([&] {
        // Reset whatever happens, so the statement never holds the file between rows.
        struct Reset
        {
            Statement& statement;
            ~Reset() { statement.reset(); }
        } reset{m_insert};
        for (int i = 0; i < m_insertColumns.size(); ++i)
            m_insert.bind(i + 1, m_newRow.value(m_tableColumns.at(m_insertColumns.at(i)).name));
        m_insert.step();
    });
    step.keep();
    m_adding = false;
    m_newRow.clear();
}

void Recordset::updateEdited()
{
    release();
    const bool messages = m_table.compare(QLatin1String("tblMes"), Qt::CaseInsensitive) == 0;
    UndoLog::Recording step(messages ? QCoreApplication::translate("Recordset", "Edit of Message")
                                     : QCoreApplication::translate("Recordset", "Edit of Entry"));
    m_db->transaction([&] {
        // Every column counts but the sort key, which the program makes again from the name.
        const auto stored = readRow(m_editKey);
        bool same = stored.has_value();
        for (auto it = m_editRow.cbegin(); same && it != m_editRow.cend(); ++it) {
            if (it.key().compare(QLatin1String("SortKey"), Qt::CaseInsensitive) != 0 && stored->value(it.key()) != *it)
                same = false;
        }
        if (!same)
            throw DbError(DbError::ChangedElsewhere,
                          QCoreApplication::translate(
                              "Recordset", "The entry was changed or deleted elsewhere since it was opened, so nothing "
                                           "was written. Cancel and open it again to see it as stored."));
        if (m_newRow.isEmpty())
            return;
        QStringList sets;
        for (auto it = m_newRow.cbegin(); it != m_newRow.cend(); ++it)
            sets << QLatin1Char('"') + it.key() + QStringLiteral("\" = ?");
        Statement update(
            m_db->handle(),
            QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?").arg(m_table, sets.join(QLatin1Char(','))));
        int index = 0;
        for (auto it = m_newRow.cbegin(); it != m_newRow.cend(); ++it)
            update.bind(++index, *it);
        update.bind(++index, m_editKey);
        update.step();
    });
    step.keep();
    // What is stored now is what the next Update must find.
    for (auto it = m_newRow.cbegin(); it != m_newRow.cend(); ++it)
        m_editRow.insert(it.key(), *it);
    m_newRow.clear();
}
