#pragma once

#include "exchange/ReadResult.h"

#include <QString>
#include <functional>

// Puts contacts read from a file into the directory: the ones already there are set aside, the rest are written
// in one transaction, all or none. The preview and the command line show the same plan before anything is written.
//
// An import is bounded by what it keeps: a file is read whole only when it is a regular file of at most
// kMaxFileSize bytes, the files are read a card or row at a time, and of the problems and duplicates the first
// thousand are listed and the rest counted (see ProblemList).
class ContactImport
{
public:
    struct Plan
    {
        ContactList added;      // to be written, in file order, values in their stored forms
        ContactList duplicates; // already in the directory or earlier in the file: skipped
        ProblemList problems;   // every value not carried over as it was, in file order
        int personal = 0;       // entries of `added` in each book
        int business = 0;
        QList<StoredRows::Row> messages; // for the log, those it does not hold yet (an old program's data file)
        int messagesKnown = 0;           // messages the log holds already: skipped
    };

    // The largest file an import reads: larger ones are refused, not read in part.
    static constexpr qint64 kMaxFileSize = qint64(256) * 1024 * 1024;
    // The duplicates the summary names; the others are counted.
    static constexpr qsizetype kListedDuplicates = 1000;

    // The bytes of a file to import, or why it cannot be read (`error`, naming the path). Only a regular file of at
    // most `limit` bytes is read: a folder, a named pipe, a device or a socket is refused before anything is read
    // from it (a pipe without a writer would wait for ever, a device could run without end), and so is a larger
    // file. The file is opened without waiting and checked again once open, so a path swapped for a pipe in between
    // is refused too.
    struct File
    {
        QByteArray bytes;
        QString error; // empty when the file was read
    };
    static File load(const QString& path, qint64 limit = kMaxFileSize);

    // The contacts of a vCard or CSV file, or the entries and messages of an old program's data file (told by its
    // content), with their values brought to the stored forms
    // (see ContactFit). `encoding` reads text that declares none and is not UTF-8 (empty: windows-1252);
    // `encodingUsed` is set when such text was met. A file that cannot be read (see load) is a problem of record 0.
    static ReadResult readFile(const QString& path, const QString& encoding = QString(), bool* encodingUsed = nullptr);
    // The same for bytes already read; `name` (the file's name) helps tell the format. `columnNames` name the
    // columns of a CSV file as a header would (see CsvColumns), in place of its header line when it has one. Problems
    // name the card or row of the file they come from.
    static ReadResult readBytes(const QByteArray& bytes, const QString& name, const QString& encoding = QString(),
                                bool* encodingUsed = nullptr, const QStringList& columnNames = QStringList());
    // Adds what one of several files holds to `all`: its contacts after those there, its problems after those there
    // with the file's name in each (when `several`).
    static void gather(ReadResult& all, ReadResult&& one, const QString& name, bool several);
    // The columns of a CSV file, for the user to say what each holds: its header line's names (empty when it has
    // none) and the fields of its first row of values. Both empty for any other file.
    struct CsvSample
    {
        QStringList header;
        QStringList firstRow;
    };
    static CsvSample csvSample(const QByteArray& bytes, const QString& name, const QString& encoding);
    // The names the user picks from for such columns, in the user's language; each is read as the header the CSV
    // reader knows when it is given to readBytes().
    static QStringList columnChoices();

    // `read`: contacts whose values are in their stored forms (see ContactFit), with the problems met so far (pass
    // it with std::move: when nothing is a duplicate its list becomes the plan's). The directory is read from the
    // file at `databasePath`; of its entries and the file's, a 128-bit hash of what makes an entry the same is kept.
    // Throws DbError.
    static Plan plan(ReadResult read, const QString& databasePath);

    // Called after each entry written with the number written so far; returning false cancels the import, and
    // then nothing is written.
    using Progress = std::function<bool(int written)>;
    // The row of the first entry written to each book (0: none), for showing it.
    struct FirstNew
    {
        qint64 personal = 0;
        qint64 business = 0;
    };
    // Writes plan.added into the file at `databasePath` with one prepared statement in one transaction: every
    // entry or, when the file refuses one or the import is cancelled, none. Returns false when cancelled. Throws
    // DbError.
    static bool write(const Plan& plan, const QString& databasePath, const Progress& progress = {},
                      FirstNew* first = nullptr);

    // The plan in words: how many entries go to each book, the duplicates skipped and the values not carried over
    // with what is done with them, the first thousand of each named and the others counted ("and 5 more"). The
    // preview shows it and offers to save it; the command line prints it.
    static QString summary(const Plan& plan);
};
