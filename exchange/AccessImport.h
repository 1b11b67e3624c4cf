#pragma once

#include "data/Contact.h"
#include "data/StoredRows.h"
#include "exchange/AccessFile.h"
#include "exchange/ReadResult.h"

// What a data file of the old program (an Access database with tblTel and tblMes) holds, in the forms the program
// stores: for converting the whole file value for value, and for importing its entries and messages into a
// directory.
namespace AccessImport {

struct Copy
{
    StoredRows::Tables rows;
    // The columns and tables the program does not use, each with how many values it held.
    QStringList notCarried;
    // Values that cannot be stored exactly as they are (a text longer than its column, a date with a time of day);
    // the rows hold them as near as they can.
    QList<ExchangeProblem> problems;
    // Why the file as a whole is no data file of the directory; empty when it is one.
    QString problem;
};

// The file's two tables as rows to store.
Copy copy(const AccessFile& file);

// True for a problem of copy() whose row keeps part of the value (a date's day without its time of day, a time
// without its date); false for a value that has no stored form at all.
bool keepsPart(const ExchangeProblem& problem);

// The entries and messages of the file's bytes for an import: entries brought to the stored forms as any import's
// (a value already in such a form is carried as it is), messages as they are. `encoding` reads a Jet 3 file's
// texts; `encodingUsed` is set when they needed it. A file that cannot be read is a problem of record 0 that
// names it.
ReadResult read(const QByteArray& bytes, const QString& name, const QString& encoding = QString(),
                bool* encodingUsed = nullptr);

} // namespace AccessImport
