#pragma once

#include "data/DataControl.h"
#include "data/GridWriter.h"
#include "data/KeyReader.h"
#include "data/KeyRuns.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <QVector>
#include <memory>

// One column of a grid: its caption, the field it shows, its width in twips, its number format ("" for the
// stored text, "General Number", "Short Date", "Short Time") and the input mask its cells are typed into ("" for
// none).
struct GridColumn
{
    QString caption;
    QString field;
    int widthTwips = 0;
    QString numberFormat;
    QString inputMask{};
};

// The rows of a data control's record set for a grid. It keeps one key per row and reads the values of the rows
// on screen from the file, so a book of a million rows opens at once and costs a few megabytes. The keys and the
// values read lately live in a KeyRuns; this model reads them, tells its views and shows the values in the
// columns' display forms; its writes go through a GridWriter. Keys are taken from the record set in batches as
// the view scrolls (canFetchMore/fetchMore).
//
// The record set's cursor holds a read lock on the file while it is inside its rows, which keeps other programs
// from saving; so the keys past the first screen are read as soon as the program is idle, a slice at a time, and
// the lock goes with the last of them.
//
// A whole book in key order (DataControl::keyedBook) is read without the cursor, by short statements over the
// index tblTel_Book: the grid counts the book's rows in the first idle moment (or when the view asks for more),
// reads a front run of keys from the start and a back run from the end, and continues either run from its last
// (SortKey, rowid), so a jump to the end reads only the keys near it. Rows between the runs hold no key yet;
// showing one near a run extends that run up to it, and one far from both (the scroll bar dragged) is read with
// its screen by its position in the book, counted off the index from the nearer end. Each read stays inside the range
// between the runs, so no row is listed twice; when the runs meet, rows another program added or deleted in between
// meanwhile are inserted or removed then. Every statement is reset after use: no read lock outlives a call.
//
// Edits are written to the row at once (the cell's commit), deletions of whole rows likewise; no row is ever
// added. A write refused because the row was changed or deleted elsewhere (see GridWriter) leaves the grid showing
// the row as stored. A write the file refuses changes nothing and is reported through databaseError, as is a read
// that fails (once until the next refresh for the rows a view asks for while it paints).
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { MaxLengthRole = Qt::UserRole + 1, InputMaskRole };

    GridModel(DataControl* source, QVector<GridColumn> columns, QObject* parent = nullptr);
    ~GridModel() override;

    const QVector<GridColumn>& gridColumns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // Deletes the given rows in one transaction: all of them or, when the file refuses, none.
    bool removeRowList(QList<int> rows);
    // Reads every remaining key of the record set (a view jumping to the last row needs them).
    void fetchAll();
    // The key of the record a row shows, read first when the row has none yet; -1 when there is none. Throws
    // DbError.
    qint64 keyOfRow(int row) { return keyAt(row); }
    // The row that shows the record of `key` (all keys read first); -1 when none does.
    int rowOfKey(qint64 key);

Q_SIGNALS:
    // A DbError of a read or a write of the grid: its number and description.
    void databaseError(int number, const QString& description);

private:
    using Rows = KeyRuns<QVector<QVariant>>;

    void reload();
    // The keyed book's reads (through BookKeys). The fills write keys into the rows between the runs without
    // telling the views (the rows exist already); settle adds or removes rows once the runs meet.
    void count();
    void fillFront(int upTo);
    void fillBack(int downTo);
    void fillAround(int row);
    // The screen around a row far from both runs, read alone by its position in the book.
    void fillAlone(int row, bool fromFront);
    void settle();
    void dropDuplicates();
    void drainKeyed();
    // The key of the row, read first if it lies between the runs; -1 when there is none.
    qint64 keyAt(int row);
    void eraseRow(int row);
    // No key is left between the runs' bounds.
    bool met() const { return m_reader && m_reader->atEnd(); }
    bool joined() const { return m_counted && met() && m_rows.front() == m_rows.back(); }
    void fetchKeys(int count, std::vector<std::int64_t>& into);
    void fetchMoreKeys(int count);
    const QVector<QVariant>* rowValues(int row) const;
    // The writer of the current record set; null when it has none or no key column.
    GridWriter* writer() const { return m_source && m_source->Recordset() ? m_writer.get() : nullptr; }
    GridWriter::Shown shownOf(qint64 key) const
    {
        const auto* shown = m_rows.cached(key);
        return shown ? GridWriter::Shown(*shown) : std::nullopt;
    }
    // After a write was refused: forgets what the grid showed of the rows, so it reads them again, and drops those
    // that are gone.
    void showAsStored(const QVector<qint64>& keys);
    QVariant displayValue(const GridColumn& column, const QVariant& stored) const;

    DataControl* m_source;
    QVector<GridColumn> m_columns;
    QVector<int> m_fieldOfColumn; // result column of each grid column
    mutable Rows m_rows;
    std::unique_ptr<GridWriter> m_writer;
    bool m_moreKeys = false;
    bool m_fetching = false;
    mutable bool m_readFailureReported = false; // since the last refresh
    QTimer m_drain;

    const Book* m_book = nullptr; // the keyed book, null for any other statement
    bool m_counted = false;       // the rows between the runs exist (as -1) since the book was counted
    bool m_forwardTurn = true;
    long long m_version = 0; // the file's data version when the book was counted
    // What the last count was made under. (A connection closed meanwhile fails the comparison, whichever
    // connection takes its place in memory.)
    struct CountKey
    {
        std::weak_ptr<Database> connection;
        const Book* book = nullptr;
        long long version = 0;
        long long changes = 0; // of the connection itself
    };
    CountKey m_countKey;
    int m_countedRows = 0;
    std::unique_ptr<KeyReader> m_reader; // of the current record set; null when it has no key column
};
