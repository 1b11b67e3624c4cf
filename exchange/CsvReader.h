#pragma once

#include "exchange/CsvColumns.h"
#include "exchange/ReadResult.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

// Reads contacts from a CSV file as address books, mail programs and spreadsheets write it. The reader keeps the
// file's bytes, so an import preview can read them again with another encoding, separator or column names without
// going back to the file.
//
// What it copes with: UTF-8 with or without BOM, UTF-16 either way round with or without BOM, text in another
// encoding (the caller's fallback, and it is said that it was a guess); comma, semicolon or tab as separator;
// quoted fields holding separators, doubled quotes and line breaks; rows with more or fewer fields than the header;
// files without a header. A broken quote costs the rest of its own line at most, never the rows after it, and any
// input, however long its lines or whatever its bytes, is read in time proportional to its size. Rows are read one
// at a time: besides the text of the file, memory holds one row and what the caller keeps of it. What cannot be
// decoded and a NUL byte become U+FFFD, the replacement character, which the fitting of values reports.
class CsvReader
{
public:
    enum class Header { Guess, Present, Absent };
    struct Options
    {
        QString encoding; // empty: told by a BOM or zero bytes, else UTF-8 when the bytes are valid UTF-8
        QString fallbackEncoding = QStringLiteral("windows-1252"); // for text that is none of those
        QChar separator;               // null: whichever of comma, semicolon and tab the first line has most of
        Header header = Header::Guess; // Guess: CsvColumns::looksLikeHeader on the first line
        QStringList columnNames;       // names for the columns as a header would give them (see CsvColumns); needed
                                       // for a file without header, and they take the place of a header line
    };
    // The file cut into fields, before anything is made of them.
    struct Table
    {
        QString encoding;             // the one the text was read with
        bool encodingGuessed = false; // the fallback had to be used
        QChar separator;
        bool hasHeader = false;
        QStringList header;         // the first line's fields when it is a header
        QList<QStringList> records; // the rows after it, blank lines left out
        ProblemList problems;       // record 0 for the file, else the number of the record (1 = first row)
    };

    explicit CsvReader(QByteArray bytes);
    const QByteArray& bytes() const { return m_bytes; }

    // The whole table, or its first `maxRecords` rows after the header (the problems of those only).
    Table table(const Options& options, qsizetype maxRecords = -1) const;

    // Takes each contact as its row is read, with the number of its record.
    using Take = std::function<void(Contact&& contact, int record)>;
    // The contacts, one per record in file order, with their values as read (see CsvColumns::contact), and the
    // problems of the table and of the rows. Returns whether the fallback encoding had to be used.
    bool read(const Options& options, const Take& take, ProblemList& problems) const;
    // The same with the contacts kept in a list.
    ReadResult read(const Options& options) const;
    ReadResult read() const { return read(Options()); }

    // The text of the bytes under `options` (encoding and fallback), with the name of the encoding used.
    QString decode(const Options& options, QString* encoding = nullptr, bool* guessed = nullptr) const;
    static QChar detectSeparator(const QString& text);

private:
    QByteArray m_bytes;
};
