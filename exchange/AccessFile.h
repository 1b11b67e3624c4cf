#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

// The two tables of the old program's data file, an Access database (Jet 3, Jet 4 or ACE), as read by the program
// started as its own reader (see JetReader): a damaged file that crashes or hangs the reader is "cannot be read",
// and the reading process is not harmed. Every cell comes as it is stored: NULL apart from the empty text, texts
// whole, dates from their raw value (those before 1899-12-30 too).
class AccessFile
{
public:
    enum class Format { Jet3, Jet4, Ace };
    struct Cell
    {
        enum class Kind { Null, Text, Date };
        Kind kind = Kind::Null;
        QString text;
        QDate date; // Date: the day and the time of day
        QTime time;
    };
    struct Table
    {
        QString name;
        QStringList columns;
        QList<int> types; // libmdb's type numbers (10 text, 12 memo, 8 date, 4 long, ...)
        QList<QList<Cell>> rows;
        int column(const QString& name) const; // -1 when missing; letter case ignored
    };

    Format format = Format::Jet4;
    QList<Table> tables;     // tblTel and tblMes, as far as the file has them
    QStringList otherTables; // the file's other tables, not read
    // Jet 3 only: the code page the file names (0: none), and whether some text was not plain ASCII, so the
    // encoding it was read in matters.
    int codePage = 0;
    bool encodingUsed = false;
    QString encoding;      // the encoding the texts were read in
    bool cleanText = true; // false when some byte has no character in that encoding (shown as U+FFFD)

    const Table* table(const QString& name) const;

    // True when `head` (the first bytes of a file) starts like an Access database: "Standard Jet DB" or
    // "Standard ACE DB" at offset 4.
    static bool hasSignature(const QByteArray& head);
    // The same for the file at `path` (false when it cannot be read).
    static bool hasSignature(const QString& path);

    struct Result;
    // Reads the file's bytes in the reader process. `encoding` reads the texts of a Jet 3 file (empty: the file's
    // own code page, or windows-1252 when it names none).
    static Result read(const QByteArray& bytes, const QString& encoding = QString());

    // Every cell in the form "tblTel[1].Lname = \"Cohen\"" (see tests/jet/README.md), one a line.
    QByteArray dump() const;

    // The program the reader is started as (default: the running program itself) and the time it is given,
    // at least `baseMs` plus a second for every 2 MB of the file (default 15 s).
    static void setReaderProgram(const QString& program);
    static void setTimeLimit(int baseMs);
    // The time-out's share per 2 MB is part of the limit; tests shorten only the base.
    static int timeLimitFor(qint64 bytes);

    // Reads the whole token stream of a reader; a problem when it is cut short or malformed.
    static Result parse(const QByteArray& output, const QString& encoding);
};

struct AccessFile::Result
{
    std::optional<AccessFile> file;
    QString problem; // without the file: why it cannot be read, for the user ("it is damaged ...")
};
