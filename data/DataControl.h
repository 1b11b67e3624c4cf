#pragma once

#include "data/Database.h"
#include "data/KeyReader.h"
#include "data/Query.h"
#include "data/Recordset.h"
#include "data/FoundRows.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Book;
class SearchIndex;

// A hidden data control of a window: a database file, one SELECT statement, and the record set the statement
// gave at the last Refresh. Grids bound to it re-read after every Refresh (the refreshed signal).
//
// The windows give it a request (Query): its statement becomes the record source, and the kind of request says how
// the rows are read. A statement given as text runs as written.
class DataControl : public QObject
{
    Q_OBJECT
public:
    explicit DataControl(QObject* parent = nullptr);
    ~DataControl() override;

    void setDatabaseName(const QString& path);
    const QString& DatabaseName() const { return m_databaseName; }
    // The request's statement becomes the record source.
    void setRecordSource(const Query& query);
    // A statement of any other kind, run as written at each Refresh.
    void setRecordSource(const QString& sql);
    const QString& RecordSource() const { return m_recordSource; }

    // Opens the file if needed and runs the statement; its result becomes the current record set, positioned on
    // the first row. Throws DbError; the previous record set stays current then.
    //
    // A whole book is read in the order of the rows' sort keys: alphabetical as the user's language has it, for
    // rows of any tool. A search finds its rows through the in-memory copy of the searched columns (SearchIndex).
    void Refresh();
    // Runs the statement again when another program (or another copy) has written to the file since the last
    // Refresh; true when it did.
    bool refreshIfChanged();

    // The book when the current record set is a whole book in its rows' key order, else null. Such a book may also
    // be read by ranges of (SortKey, rowid) over the index tblTel_Book.
    const Book* keyedBook() const { return m_keyedBook; }

    // For a letter whose names the search's copy picks from the book's index: the reader of their keys in the
    // book's order, which the record set's statement gives too (see LetterKeys); null when the statement is to be
    // walked.
    std::unique_ptr<KeyReader> letterKeys() const;

    // The current record set: the same object until the next Refresh; null before the first one.
    ::Recordset* Recordset() const { return m_recordset.get(); }
    const std::shared_ptr<Database>& database() const { return m_database; }
    // For a search: the record set's rows by their keys, in its order, to be read as they are shown; not readable
    // when a list must read them from the record set.
    const FoundRows& foundRows() const { return m_found; }

Q_SIGNALS:
    void refreshed();

private:
    // What a letter's keys are read by when its sort keys lie between `low` and `high` and the search's copy of the
    // names is read; none while it is not.
    struct LetterRange
    {
        const Book* book;
        QByteArray low;
        QByteArray high;
        std::shared_ptr<SearchIndex> copy;
        int column; // the book's sort column among the searched ones
        std::string pattern;
    };
    std::optional<LetterRange> letterFromIndex(const Book& book, const QByteArray& low, const QByteArray& high) const;

    QString m_databaseName;
    QString m_recordSource;
    std::optional<Query> m_query; // the request the record source was given by, if any
    std::shared_ptr<Database> m_database;
    std::unique_ptr<::Recordset> m_recordset;
    FoundRows m_found;
    const Book* m_keyedBook = nullptr;
    std::optional<LetterRange> m_letter;
    long long m_dataVersion = -1;
};
