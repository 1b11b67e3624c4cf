#pragma once

#include <QString>

// The two tables of the database file and the widths the file itself enforces.
namespace Schema {

// The longest text a column of tblTel takes (0 for the columns of tblMes, which have no limit). The file refuses
// anything longer, whichever tool writes it.
int widthOf(const QString& table, const QString& column);

// Creates both tables in a new, empty file at `path`. Used by the build, which supplies the program with its
// empty database, and by tests; the program itself never creates the file.
void createFile(const QString& path);

// The statements that create the tables, for tools that make files of their own.
QString createStatements();

// The indexes and bookkeeping the program adds to a file; each statement is harmless when its object exists.
QString indexStatements();

// The log of the rows of tblTel written (see SearchIndex), for a tblTel whose key is ID INTEGER PRIMARY KEY.
QString changeLogStatements();
// How many of the newest entries of that log are kept at least.
constexpr int kChangesKept = 1000;

} // namespace Schema
