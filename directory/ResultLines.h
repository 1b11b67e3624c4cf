#pragma once

#include <QAbstractListModel>
#include <QString>
#include <array>
#include <vector>

// The lines of the search result list: ten for every row found. A large result (100,000 rows are a million lines)
// would cost a list item per line; instead the rows' eleven values are kept packed in one text buffer and each
// line is written when the view asks for it. The lines are plain text with no link back to the rows, so later
// edits of the book do not change a result already listed.
class ResultLines : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int LinesPerBlock = 10;

    // The searched columns, in the order append() takes their values.
    enum Field { Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax, FieldCount };
    using Values = std::array<QString, FieldCount>;
    static QString fieldName(Field field);

    explicit ResultLines(QObject* parent = nullptr);

    // Empties the list at once.
    void clear();
    // Adds the block of one row; it shows after the next flush(). (One announcement for a whole result keeps a
    // search of 100,000 rows from telling the view 100,000 times.) A null value adds nothing, like an empty one.
    void append(const Values& values);
    // Shows the blocks appended since the last flush.
    void flush();

    int blockCount() const { return int(m_blockStart.size()); }
    // Line `lineOfBlock` (0 to 9) of the block of `values`.
    static QString formatLine(int lineOfBlock, const Values& values);
    QString line(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    Values blockValues(int block) const;

    // Each value is stored as its length (one character, or two for texts of 32,768 characters and more) followed
    // by its characters.
    QString m_text;
    std::vector<qsizetype> m_blockStart;
    int m_shownBlocks = 0;
};
