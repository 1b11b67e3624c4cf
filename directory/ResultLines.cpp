#include "ResultLines.h"

#include "DbError.h"
#include "Recordset.h"

#include <algorithm>
#include <cstring>
#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kChunkSize = std::size_t(2) << 20;

char* putLength(char* out, std::size_t length)
{
    while (length >= 0x80) {
        *out++ = char(0x80 | (length & 0x7f));
        length >>= 7;
    }
    *out++ = char(length);
    return out;
}

std::size_t takeLength(const char* in, std::size_t& pos)
{
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(in[pos++]);
        length |= std::size_t(byte & 0x7f) << shift;
        if (byte < 0x80)
            return length;
    }
}

const QString kRule = QStringLiteral("=============================");

} // namespace

QString ResultLines::fieldName(Field field)
{
    static const char* const names[FieldCount] = {"Fname", "Lname", "BusName", "Address", "City", "State",
                                                  "Zip",   "Tel1",  "Tel2",    "Pel",     "Fax"};
    return QLatin1String(names[field]);
}

ResultLines::ResultLines(QObject* parent) : QAbstractListModel(parent) {}

void ResultLines::clear()
{
    beginResetModel();
    // The memory stays for the blocks to come: the next result is often as long, and memory the process has
    // already touched costs no page faults. flush() gives back what the new result did not need.
    m_chunksUsed = 0;
    m_blockStart.clear();
    m_shownBlocks = 0;
    endResetModel();
}

ResultLines::Chunk ResultLines::newChunk(std::size_t least)
{
    Chunk chunk;
    chunk.capacity = (std::max(kChunkSize, least) + kChunkSize - 1) / kChunkSize * kChunkSize;
#if defined(__linux__)
    // A long result fills its chunks at one page fault per 2 MB rather than per 4 kB.
    chunk.bytes.reset(static_cast<char*>(std::aligned_alloc(kChunkSize, chunk.capacity)));
    if (chunk.bytes)
        madvise(chunk.bytes.get(), chunk.capacity, MADV_HUGEPAGE);
#else
    chunk.bytes.reset(static_cast<char*>(std::malloc(chunk.capacity)));
#endif
    if (!chunk.bytes)
        throw std::bad_alloc();
    return chunk;
}

void ResultLines::appendBlock(const std::array<std::string_view, FieldCount>& values)
{
    std::size_t size = 0;
    for (std::string_view value : values)
        size += value.size() + sizeof(std::size_t) * 8 / 7 + 1;
    if (m_chunksUsed == 0 || m_chunks[m_chunksUsed - 1].size + size > m_chunks[m_chunksUsed - 1].capacity) {
        if (m_chunksUsed < m_chunks.size() && m_chunks[m_chunksUsed].capacity >= size) {
            m_chunks[m_chunksUsed++].size = 0;
        } else {
            m_chunks.insert(m_chunks.begin() + std::ptrdiff_t(m_chunksUsed), newChunk(size));
            ++m_chunksUsed;
        }
    }
    Chunk& chunk = m_chunks[m_chunksUsed - 1];
    m_blockStart.push_back({std::uint32_t(m_chunksUsed - 1), std::uint32_t(chunk.size)});
    char* out = chunk.bytes.get() + chunk.size;
    for (std::string_view value : values) {
        out = putLength(out, value.size());
        if (!value.empty())
            std::memcpy(out, value.data(), value.size());
        out += value.size();
    }
    chunk.size = std::size_t(out - chunk.bytes.get());
}

void ResultLines::append(const Values& values)
{
    std::array<QByteArray, FieldCount> utf8;
    std::array<std::string_view, FieldCount> views;
    for (int field = 0; field < FieldCount; ++field) {
        utf8[size_t(field)] = values[size_t(field)].toUtf8();
        views[size_t(field)] = std::string_view(utf8[size_t(field)].constData(), size_t(utf8[size_t(field)].size()));
    }
    appendBlock(views);
}

void ResultLines::appendRows(::Recordset& rs)
{
    std::array<int, FieldCount> columns{};
    for (int field = 0; field < FieldCount; ++field) {
        const QString name = fieldName(Field(field));
        columns[size_t(field)] = rs.columnIndex(name);
        if (columns[size_t(field)] < 0)
            throw DbError(DbError::ItemNotFound, QStringLiteral("Item not found in this collection: %1.").arg(name));
    }
    // The text is taken as the file holds it; it becomes a QString only for the lines on screen.
    std::array<std::string_view, FieldCount> values;
    while (!rs.Eof()) {
        for (int field = 0; field < FieldCount; ++field)
            values[size_t(field)] = rs.text(columns[size_t(field)]);
        appendBlock(values);
        rs.MoveNext();
    }
}

void ResultLines::flush()
{
    m_chunks.erase(m_chunks.begin() + std::ptrdiff_t(m_chunksUsed), m_chunks.end());
    if (m_blockStart.capacity() > 2 * m_blockStart.size() + 1024)
        m_blockStart.shrink_to_fit();
    const int total = blockCount();
    if (total == m_shownBlocks)
        return;
    beginInsertRows(QModelIndex(), m_shownBlocks * LinesPerBlock, total * LinesPerBlock - 1);
    m_shownBlocks = total;
    endInsertRows();
}

ResultLines::Values ResultLines::blockValues(int block) const
{
    Values values;
    const BlockStart start = m_blockStart.at(size_t(block));
    const char* chunk = m_chunks.at(start.chunk).bytes.get();
    std::size_t pos = start.offset;
    for (QString& value : values) {
        const std::size_t length = takeLength(chunk, pos);
        value = QString::fromUtf8(chunk + pos, qsizetype(length));
        pos += length;
    }
    return values;
}

QString ResultLines::formatLine(int lineOfBlock, const Values& v)
{
    switch (lineOfBlock) {
    case 0:
        return v[Fname] + QStringLiteral("  ") + v[Lname];
    case 1:
        return v[BusName];
    case 2:
        return QStringLiteral("Address : ") + v[Address];
    case 3:
        return QString(18, QLatin1Char(' ')) + v[City] + QStringLiteral(" , ") + v[State] + QStringLiteral(" , ") +
               v[Zip];
    case 4:
        return QStringLiteral("Cellular : ") + v[Pel];
    case 5:
        return QStringLiteral("Telephone  : ") + v[Tel1] + QStringLiteral("  /  ") + v[Tel2];
    case 6:
        return QStringLiteral("Fax        : ") + v[Fax];
    case 7:
    case 8:
        return kRule;
    default:
        return QStringLiteral(" ");
    }
}

QString ResultLines::line(int row) const
{
    const int block = row / LinesPerBlock;
    const int lineOfBlock = row % LinesPerBlock;
    if (lineOfBlock >= 7)
        return formatLine(lineOfBlock, Values());
    return formatLine(lineOfBlock, blockValues(block));
}

int ResultLines::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shownBlocks * LinesPerBlock;
}

QVariant ResultLines::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QVariant();
    return line(index.row());
}
