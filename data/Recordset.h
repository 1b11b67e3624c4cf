#pragma once

#include "data/Database.h"
#include "data/Statement.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>

// The value of one field of the current row.
struct Field
{
    QVariant value; // null when the field has no value, distinct from the empty text
    const QVariant& Value() const { return value; }
};

// The result of a data control's statement: a forward cursor over its rows, plus an append buffer for new rows
// of the statement's table. Rows are read from the file as the cursor moves, never copied in bulk.
//
// A cursor inside its rows holds a read lock on the file, which keeps other programs from saving. So the first row
// is read only when someone asks for it (a record set used only to append never locks the file), and the lock goes
// as soon as the cursor is past the last row.
class Recordset
{
public:
    Recordset(std::shared_ptr<Database> db, const QString& sql); // runs the statement; throws DbError
    // The same, with the statement's parameters bound to `parameters` in order.
    Recordset(std::shared_ptr<Database> db, const QString& sql, const QVariantList& parameters);
    // The rows of `table` with the given keys, in that order, with the columns of SELECT * (a statement whose rows
    // were found another way).
    Recordset(std::shared_ptr<Database> db, const QString& table, QVector<qint64> keys);
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // True past the last row, at once for an empty result. (EOF itself is a C macro.)
    bool Eof() const
    {
        start();
        return m_eof;
    }
    void MoveNext();
    // Field names ignore letter case. An unknown name is a DbError.
    Field Fields(const QString& name) const;

    // Appending: AddNew starts an empty new row, Collect sets its fields by name (converted to the column's type:
    // date and time texts as the user's locale writes them), Update writes it in one step. The INSERT is prepared
    // once for rows that set the same fields, so rows added one after another in a transaction cost one step each.
    void AddNew();
    // Editing: the row of `key` (its rowid) becomes the one Collect reads and setCollect changes; Update then writes
    // the fields set, and only those, to that row in one step. Update refuses (DbError::ChangedElsewhere) when the
    // row no longer holds what Edit read: another program changed or deleted it meanwhile. Throws DbError, also
    // when the row is gone already.
    void Edit(qint64 key);
    void setCollect(const QString& name, const QVariant& value);
    QVariant Collect(const QString& name) const;
    void Update();
    // Ends the cursor: Eof from here on. A cursor inside its rows holds the file as it was when the statement
    // began: no write can start on it, and no other copy's saves show in a statement run beside it.
    void release();

    // What grids need to write back to the rows they show.
    const QString& table() const { return m_table; }
    const QList<Database::ColumnInfo>& tableColumns() const { return m_tableColumns; }
    int keyColumn() const { return m_keyColumn; } // result column holding the row key, -1 if none
    qint64 currentKey() const;
    int columnCount() const { return m_stmt.columnCount(); }
    QString columnName(int column) const { return m_stmt.columnName(column); }
    int columnIndex(const QString& name) const; // -1 when the result has no such column
    QVariant value(int column) const
    {
        start();
        return m_stmt.value(column);
    }
    std::string_view text(int column) const // see Statement::text
    {
        start();
        return m_stmt.text(column);
    }
    const std::shared_ptr<Database>& database() const { return m_db; }

    // Converts a value for a column of the table the way Collect does (dates and times to their stored forms).
    // Throws DbError when a date or time text is no date or time.
    QVariant convertForColumn(const Database::ColumnInfo& column, const QVariant& value) const;

private:
    const Database::ColumnInfo& tableColumn(const QString& name) const;
    void describe();
    // Called for every field read: the check stays inline, the first read does not.
    void start() const
    {
        if (!m_started)
            const_cast<Recordset*>(this)->readFirst();
    }
    void readFirst();
    // The row of `key` with the table's columns by name; nothing when it is gone.
    std::optional<QHash<QString, QVariant>> readRow(qint64 key) const;
    void updateEdited();
    bool step();
    bool stepKeyed();

    std::shared_ptr<Database> m_db;
    Statement m_stmt;
    bool m_eof = true;
    bool m_started = false;
    QString m_table;
    QList<Database::ColumnInfo> m_tableColumns;
    QStringList m_columnNames; // of the result, in its order
    int m_keyColumn = -1;
    bool m_adding = false;
    bool m_editing = false;
    qint64 m_editKey = -1;
    QHash<QString, QVariant> m_editRow; // the edited row as Edit read it
    bool m_keyed = false;
    QVector<qint64> m_rowKeys;
    int m_rowKeyPos = -1;
    QString m_keyName;
    bool m_walking = false;            // the keyed walk's statement is on a row
    qint64 m_walkKey = 0;              // the key of that row
    QHash<QString, QVariant> m_newRow; // table column name -> value
    QList<int> m_insertColumns;        // the table columns the last Update set, in order
    Statement m_insert;                // its INSERT, kept prepared
};
