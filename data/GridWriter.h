#pragma once

#include "data/Statement.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>
#include <utility>
#include <vector>

class Recordset;

// A grid's writes to its record set's table, by the rows' keys: the edit of one cell and the deletion of rows,
// each one step of Undo in one transaction. A write first reads the row again (readRow, which the grid also shows
// its rows from) and compares it with what the grid showed: a row changed or deleted elsewhere since is not written
// (DbError::ChangedElsewhere). Only the columns the grid shows count: a change to another column is not lost by
// the write. A value longer than its column is refused (DbError::FieldTooSmall), never cut.
class GridWriter
{
public:
    // The values a grid shows of a row, in the record set's columns; nothing when it has shown none of the row.
    using Shown = std::optional<QVector<QVariant>>;

    // `shownFields`: the record set's columns the grid shows (-1 for a grid column the record set lacks).
    GridWriter(::Recordset* rs, QString keyName, QVector<int> shownFields);

    // The row as stored, in the record set's columns; nothing when it is gone. Throws DbError.
    std::optional<QVector<QVariant>> readRow(qint64 key) const;
    // Writes `value` into the column `field` of the row of `key`. `name` is the column as the user reads it, in a
    // refusal and in the step's name. Throws DbError.
    void write(qint64 key, const Shown& shown, const QString& field, const QString& name, const QVariant& value);
    // Deletes the rows of the keys, all or (when one is refused) none. Throws DbError.
    void remove(const std::vector<std::pair<qint64, Shown>>& rows);

private:
    void checkUnchanged(qint64 key, const Shown& shown) const;

    ::Recordset* m_rs;
    QString m_keyName;
    QVector<int> m_shownFields;
    mutable Statement m_rowQuery;
};
