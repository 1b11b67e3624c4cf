#pragma once

#include "Contact.h"

#include <QString>
#include <functional>

// Puts contacts read from a file into the directory: the ones already there are set aside, the rest are written
// in one transaction, all or none. The preview and the command line show the same plan before anything is written.
class ContactImport
{
public:
    struct Plan
    {
        QList<Contact> added;            // to be written, in file order, values in their stored forms
        QList<Contact> duplicates;       // already in the directory or earlier in the file: skipped
        QList<ExchangeProblem> problems; // every value not carried over as it was, in file order
        int personal = 0;                // entries of `added` in each book
        int business = 0;
        QList<StoredRows::Row> messages; // for the log, those it does not hold yet (an old program's data file)
        int messagesKnown = 0;           // messages the log holds already: skipped
    };

    // The contacts of a vCard or CSV file, or the entries and messages of an old program's data file (told by its
    // content), with their values brought to the stored forms
    // (see ContactFit). `encoding` reads text that declares none and is not UTF-8 (empty: windows-1252);
    // `encodingUsed` is set when such text was met. A file that cannot be read is a problem of record 0.
    static ReadResult readFile(const QString& path, const QString& encoding = QString(), bool* encodingUsed = nullptr);
    // The same for bytes already read; `name` (the file's name) helps tell the format. `columnNames` name the
    // columns of a CSV file that has no header line, as a header would (see CsvColumns).
    static ReadResult readBytes(const QByteArray& bytes, const QString& name, const QString& encoding = QString(),
                                bool* encodingUsed = nullptr, const QStringList& columnNames = QStringList());
    // The fields of the first row of a CSV file without a header line, for the user to name the columns; empty for
    // any other file.
    static QStringList unnamedColumns(const QByteArray& bytes, const QString& name, const QString& encoding);
    // The names the user picks from for such columns, each one a header that the CSV reader knows.
    static QStringList columnChoices();

    // `read`: contacts whose values are in their stored forms (see ContactFit), with the problems met so far. The
    // directory is read from the file at `databasePath`. Throws DbError.
    static Plan plan(const ReadResult& read, const QString& databasePath);

    // Called after each entry written with the number written so far; returning false cancels the import, and
    // then nothing is written.
    using Progress = std::function<bool(int written)>;
    // Writes plan.added into the file at `databasePath`: every entry or, when the file refuses one or the import
    // is cancelled, none. Returns false when cancelled. Throws DbError.
    static bool write(const Plan& plan, const QString& databasePath, const Progress& progress = {});

    // The plan in words: how many entries go to each book, the duplicates skipped, every value not carried over
    // and what is done with it. The preview shows it and offers to save it; the command line prints it.
    static QString summary(const Plan& plan);
};
