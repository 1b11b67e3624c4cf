#pragma once

#include "data/Database.h"
#include "data/Query.h"
#include "data/Recordset.h"
#include "data/RowText.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Book;

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

    // For a letter read from the book's index: the keys of its names in the book's order, which the record set's
    // statement gives too; null when the statement is to be walked.
    const std::shared_ptr<const std::vector<std::int64_t>>& letterKeys() const { return m_letterKeys; }

    // The current record set: the same object until the next Refresh; null before the first one.
    ::Recordset* Recordset() const { return m_recordset.get(); }
    const std::shared_ptr<Database>& database() const { return m_database; }
    // For a search: the shown text of the record set's rows, in its order, as the file held them at the Refresh;
    // no text when it must be read from the record set.
    const FoundRows& foundRows() const { return m_found; }
    // The keys of those rows, in the same order.
    const QVector<qint64>& foundKeys() const { return m_foundKeys; }

Q_SIGNALS:
    void refreshed();

private:
    // The keys of a letter's names whose sort keys lie between `low` and `high`, read from the book's index and
    // picked by the search's copy of the names; null while the copy is not read yet.
    std::shared_ptr<const std::vector<std::int64_t>> letterFromIndex(const Book& book, const QByteArray& low,
                                                                     const QByteArray& high) const;

    QString m_databaseName;
    QString m_recordSource;
    std::optional<Query> m_query; // the request the record source was given by, if any
    std::shared_ptr<Database> m_database;
    std::unique_ptr<::Recordset> m_recordset;
    FoundRows m_found;
    QVector<qint64> m_foundKeys;
    const Book* m_keyedBook = nullptr;
    std::shared_ptr<const std::vector<std::int64_t>> m_letterKeys;
    long long m_dataVersion = -1;
};
