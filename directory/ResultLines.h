#pragma once

#include <QAbstractListModel>
#include <QString>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

class Recordset;

// The lines of the search result list: ten for every row found. A large result (100,000 rows are a million lines)
// would cost a list item per line; instead the rows' eleven values are kept packed as UTF-8, as the file holds
// them, and each line is written when the view asks for it. The lines are plain text with no link back to the
// rows, so later edits of the book do not change a result already listed.
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

    // Empties the list at once. (Its memory is kept for the blocks appended next, until the next flush.)
    void clear();
    // Adds the block of one row; it shows after the next flush(). (One announcement for a whole result keeps a
    // search of 100,000 rows from telling the view 100,000 times.) A null value adds nothing, like an empty one.
    void append(const Values& values);
    // Appends the block of every row left in a record set of the search statement, to its end. Throws DbError;
    // the rows read before a failure stay appended.
    void appendRows(::Recordset& rs);
    // Shows the blocks appended since the last flush, and gives back the memory the list no longer needs.
    void flush();

    int blockCount() const { return int(m_blockStart.size()); }
    // Line `lineOfBlock` (0 to 9) of the block of `values`.
    static QString formatLine(int lineOfBlock, const Values& values);
    QString line(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    Values blockValues(int block) const;
    void appendBlock(const std::array<std::string_view, FieldCount>& values);

    // Each value is stored as its length in bytes (seven bits a byte, the last byte below 0x80) followed by its
    // UTF-8 bytes. The blocks are packed into chunks that are never moved, so a long result is not copied again
    // and again as it grows; no block straddles two chunks.
    struct Chunk
    {
        std::unique_ptr<char, void (*)(void*)> bytes{nullptr, std::free};
        std::size_t size = 0;
        std::size_t capacity = 0;
    };
    static Chunk newChunk(std::size_t least);
    std::vector<Chunk> m_chunks;
    std::size_t m_chunksUsed = 0; // the chunks after these are room kept from an earlier result
    struct BlockStart
    {
        std::uint32_t chunk;
        std::uint32_t offset;
    };
    std::vector<BlockStart> m_blockStart;
    int m_shownBlocks = 0;
};
