#include "directory/ResultLines.h"

#include "app/Bidi.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SearchedColumns.h"

#include <QGuiApplication>

namespace {

const QString kRule = QStringLiteral("=============================");

} // namespace

static_assert(ResultLines::FieldCount == SearchedColumns::kCount, "a block shows every searched column");

QString ResultLines::fieldName(Field field)
{
    return QLatin1String(SearchedColumns::kNames[std::size_t(field)]);
}

ResultLines::ResultLines(QObject* parent) : QAbstractListModel(parent) {}

void ResultLines::clear()
{
    beginResetModel();
    m_found = FoundRows();
    m_failureTold = false;
    m_own.reset();
    m_ownRows.clear();
    m_ownKeys.clear();
    m_shownBlocks = 0;
    endResetModel();
}

int ResultLines::blockCount() const
{
    return int(std::size_t(m_found.size()) + m_ownRows.size());
}

qint64 ResultLines::keyOfBlock(int block) const
{
    if (block < 0 || block >= blockCount())
        return -1;
    return block < m_found.size() ? m_found.key(block) : m_ownKeys.at(std::size_t(block - m_found.size()));
}

void ResultLines::appendOwn(const RowText::Values& values, qint64 key)
{
    if (!m_own)
        m_own = std::make_unique<RowText>();
    m_ownRows.push_back(m_own->append(values));
    m_ownKeys.push_back(key);
}

void ResultLines::append(const Values& values, qint64 key)
{
    std::array<QByteArray, FieldCount> utf8;
    RowText::Values views;
    for (int field = 0; field < FieldCount; ++field) {
        utf8[size_t(field)] = values[size_t(field)].toUtf8();
        views[size_t(field)] = std::string_view(utf8[size_t(field)].constData(), size_t(utf8[size_t(field)].size()));
    }
    appendOwn(views, key);
}

void ResultLines::appendFound(const FoundRows& found)
{
    if (found.size() == 0)
        return;
    if (blockCount() == 0) {
        m_found = found;
        return;
    }
    for (qsizetype row = 0; row < found.size(); ++row)
        append(found.values(row), found.key(row));
}

void ResultLines::appendRows(::Recordset& rs)
{
    std::array<int, FieldCount> columns{};
    for (int field = 0; field < FieldCount; ++field) {
        const QString name = fieldName(Field(field));
        columns[size_t(field)] = rs.columnIndex(name);
        if (columns[size_t(field)] < 0)
            throw DbError(DbError::ItemNotFound, tr("Item not found in this collection: %1.").arg(name));
    }
    // The text is taken as the file holds it; it becomes a QString only for the lines on screen.
    RowText::Values values;
    while (!rs.Eof()) {
        for (int field = 0; field < FieldCount; ++field)
            values[size_t(field)] = rs.text(columns[size_t(field)]);
        appendOwn(values, rs.currentKey());
        rs.MoveNext();
    }
}

void ResultLines::flush()
{
    const int total = blockCount();
    if (total == m_shownBlocks)
        return;
    beginInsertRows(QModelIndex(), m_shownBlocks * LinesPerBlock, total * LinesPerBlock - 1);
    m_shownBlocks = total;
    endInsertRows();
}

ResultLines::Values ResultLines::blockValues(int block) const
{
    if (block < m_found.size()) {
        try {
            return m_found.values(block);
        } catch (const DbError& error) {
            // A view asks while it paints: the block shows empty, and the user hears of it once the painting is
            // done.
            if (!m_failureTold) {
                m_failureTold = true;
                QMetaObject::invokeMethod(
                    const_cast<ResultLines*>(this),
                    [self = const_cast<ResultLines*>(this), error] {
                        Q_EMIT self->databaseError(error.number(), error.description());
                    },
                    Qt::QueuedConnection);
            }
            return Values();
        }
    }
    const RowText::Values stored = m_own->values(m_ownRows.at(std::size_t(block - m_found.size())));
    Values values;
    for (int field = 0; field < FieldCount; ++field)
        values[size_t(field)] =
            QString::fromUtf8(stored[size_t(field)].data(), qsizetype(stored[size_t(field)].size()));
    return values;
}

QString ResultLines::formatLine(int lineOfBlock, const Values& v)
{
    const QString plain = composeLine(lineOfBlock, v);
    if (QGuiApplication::layoutDirection() != Qt::RightToLeft && !mixesDirections(plain))
        return plain;
    // Each value keeps its own order inside the line: a number or an English address in a Hebrew line, a Hebrew
    // name in an English one.
    Values isolated;
    for (std::size_t field = 0; field < isolated.size(); ++field)
        isolated[field] = v[field].isEmpty() ? v[field] : Bidi::isolated(v[field]);
    return composeLine(lineOfBlock, isolated);
}

bool ResultLines::mixesDirections(const QString& line)
{
    bool left = false;
    bool right = false;
    for (const QChar c : line) {
        const QChar::Direction direction = c.direction();
        left = left || direction == QChar::DirL;
        right = right || direction == QChar::DirR || direction == QChar::DirAL;
    }
    return left && right;
}

QString ResultLines::composeLine(int lineOfBlock, const Values& v)
{
    switch (lineOfBlock) {
    case 0:
        return v[Fname] + QStringLiteral("  ") + v[Lname];
    case 1:
        return v[BusName];
    case 2:
        return tr("Address : %1").arg(v[Address]);
    case 3:
        return QString(18, QLatin1Char(' ')) + v[City] + QStringLiteral(" , ") + v[State] + QStringLiteral(" , ") +
               v[Zip];
    case 4:
        return tr("Cellular : %1").arg(v[Pel]);
    case 5:
        return tr("Telephone  : %1  /  %2").arg(v[Tel1], v[Tel2]);
    case 6:
        return tr("Fax        : %1").arg(v[Fax]);
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
