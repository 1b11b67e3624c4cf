#pragma once

#include "data/FoundRows.h"
#include "data/RowText.h"

#include <QAbstractListModel>
#include <QString>
#include <QVector>
#include <array>
#include <memory>
#include <vector>

class Recordset;

// The lines of the search result list: ten for every row found. A large result (100,000 rows are a million lines)
// would cost a list item per line; instead each line is written when the view asks for it. A search's rows are
// kept as their keys alone, and read from the file when shown (see FoundRows); rows read through a record set
// stay packed as UTF-8, as the file holds them.
class ResultLines : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int LinesPerBlock = 10;

    // The searched columns (SearchedColumns), in the order append() takes their values.
    enum Field { Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax, FieldCount };
    using Values = std::array<QString, FieldCount>;
    static QString fieldName(Field field);

    explicit ResultLines(QObject* parent = nullptr);

    // Empties the list at once.
    void clear();
    // Adds the block of one row; it shows after the next flush(). (One announcement for a whole result keeps a
    // search of 100,000 rows from telling the view 100,000 times.) A null value adds nothing, like an empty one.
    void append(const Values& values, qint64 key = -1);
    // Adds the blocks of the rows a search found, in their order.
    void appendFound(const FoundRows& found);
    // Appends the block of every row left in a record set of the search statement, to its end. Throws DbError;
    // the rows read before a failure stay appended.
    void appendRows(::Recordset& rs);
    // Shows the blocks appended since the last flush.
    void flush();

    int blockCount() const;
    // The key of the row a block shows; -1 when it is not known.
    qint64 keyOfBlock(int block) const;
    // Line `lineOfBlock` (0 to 9) of the block of `values`. Under a right-to-left interface, and where a line holds
    // text of both directions, the values are set in Unicode isolates so that each reads in its own order.
    static QString formatLine(int lineOfBlock, const Values& values);
    QString line(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // Reading a row to show failed; the block shows empty meanwhile. Told once for a list.
    void databaseError(int number, const QString& description);

private:
    static QString composeLine(int lineOfBlock, const Values& values);
    // The line holds letters that read left to right and letters that read right to left.
    static bool mixesDirections(const QString& line);
    Values blockValues(int block) const;
    void appendOwn(const RowText::Values& values, qint64 key);

    // The first blocks may be a search's rows, read as shown; the blocks after them are in a store of the list's
    // own.
    FoundRows m_found;
    mutable bool m_failureTold = false;
    std::unique_ptr<RowText> m_own;
    std::vector<RowText::Ref> m_ownRows;
    std::vector<qint64> m_ownKeys;
    int m_shownBlocks = 0;
};
