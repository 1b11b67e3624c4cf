#pragma once

#include <QList>
#include <QString>
#include <optional>

class Database;

// Rows of the two tables as the program stores them, each cell a text or NULL: what a file of the old program
// holds, brought over value for value. tblTel rows hold the twelve columns in telColumns() order, tblMes rows the
// five in mesColumns() order (Cdate as yyyy-mm-dd, Ctime as hh:mm:ss).
namespace StoredRows {

using Cell = std::optional<QString>;
using Row = QList<Cell>;
struct Tables
{
    QList<Row> tel;
    QList<Row> mes;
};

// The columns of tblTel in the old program's order (Columns::oldNames()), and those of tblMes.
const QStringList& telColumns();
const QStringList& mesColumns();

// Makes a new file at `path` (it must not exist) with the program's tables and the rows, in one transaction,
// and notes `source` (the digest of the file the rows came from) in it. Throws DbError; a failed write leaves no
// file.
void create(const QString& path, const Tables& rows, const QString& source);
// Every row of both tables of the file at `path` in the order of their keys, and the noted source (empty when
// none). Throws DbError.
Tables read(const QString& path, QString* source = nullptr);

// The rows of `rows` (tblMes rows) that the log of `db` does not already hold with the same date, time, from, to
// and text, in their order; a row met twice is added once. Throws DbError.
QList<Row> newMessages(Database& db, const QList<Row>& rows);
// Adds rows to the log of `db`, inside the caller's transaction. Throws DbError.
void addMessages(Database& db, const QList<Row>& rows);

} // namespace StoredRows
