#include "ResultLines.h"

namespace {

constexpr char16_t kLongLength = 0x8000;

void putLength(QString& text, qsizetype length)
{
    if (length < kLongLength) {
        text.append(QChar(char16_t(length)));
    } else {
        text.append(QChar(char16_t(kLongLength | (length >> 15))));
        text.append(QChar(char16_t(length & 0x7fff)));
    }
}

qsizetype takeLength(const QString& text, qsizetype& pos)
{
    const char16_t first = text.at(pos++).unicode();
    if (!(first & kLongLength))
        return first;
    const char16_t second = text.at(pos++).unicode();
    return (qsizetype(first & 0x7fff) << 15) | second;
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
    m_text.clear();
    m_text.squeeze();
    m_blockStart.clear();
    m_blockStart.shrink_to_fit();
    m_shownBlocks = 0;
    endResetModel();
}

void ResultLines::append(const Values& values)
{
    m_blockStart.push_back(m_text.size());
    for (const QString& value : values) {
        putLength(m_text, value.size());
        m_text.append(value);
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
    Values values;
    qsizetype pos = m_blockStart.at(size_t(block));
    for (QString& value : values) {
        const qsizetype length = takeLength(m_text, pos);
        value = m_text.mid(pos, length);
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
