#pragma once

#include <QString>
#include <QStringList>

// The two tables of the database file, what the program adds to a file, and the checks it makes before it adds
// anything. Statements only: opening and creating files is Database's.
//
// Everything stored in the file uses SQLite's built-in collations, so an index reads the same in every SQLite tool.
// The one order SQLite cannot give, a reader's alphabetical order, is kept as data: each row of tblTel carries in
// SortKey the key of its book's sort column (Lname in "Personal", BusName in "Business"; see SortKey), under a plain
// BINARY index. A row whose key is missing or stale (written by another tool, or by the program's own insert and
// grid edits, which leave the key to be made) holds NULL there, and the partial index tblTel_Unkeyed lists exactly
// those rows, so they are found at no cost and given their keys before a book is read.
namespace Schema {

// The longest text a column of tblTel takes (0 for the columns of tblMes, which have no limit). The file refuses
// anything longer, whichever tool writes it.
int widthOf(const QString& table, const QString& column);

// The statements that create both tables and everything the program adds, for a new file.
QString createStatements();

// The columns the windows read and write, as "table.column", that a file's tables lack. `telColumns` and
// `mesColumns` are the columns the file has (letter case ignored). A file that lacks any is not changed at all.
QStringList missingColumns(const QStringList& telColumns, const QStringList& mesColumns);

// What the program adds to a file it may write, given the columns tblTel has: the sort key column, indexes and
// triggers, in one script run in one transaction. Each statement is harmless when its object exists; objects of
// earlier versions of the program that relied on its own collation are dropped. `keyedById`: tblTel's key is
// ID INTEGER PRIMARY KEY, which the change log needs.
QString upgradeStatements(bool hasSortKey, bool keyedById);
// The version the file is stamped with (PRAGMA user_version) once the upgrade ran.
constexpr int kVersion = 0x54565232;
// The names of the objects the upgrade makes: a file with all of them and the stamp needs no upgrade.
QStringList upgradeObjects(bool keyedById);

// The statement that makes the index a book is read by.
QString bookIndexStatement();

// The log of the rows of tblTel written (see SearchIndex): how many of its newest entries are kept at least.
constexpr int kChangesKept = 1000;

} // namespace Schema
