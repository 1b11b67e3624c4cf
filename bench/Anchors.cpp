#include "Anchors.h"

#include "data/Database.h"
#include "data/SearchedColumns.h"
#include "data/TextFold.h"

#include <cstring>
#include <sqlite3.h>

namespace {

constexpr char kFieldEnd = '\x01';

void appendUtf8(std::string& out, char32_t c)
{
    if (c >= 0xDC80 && c <= 0xDCFF) { // a byte that was not UTF-8 stands for itself
        out += char(c - 0xDC00);
    } else if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

sqlite3* openPlain(const QString& path, int flags)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = DbError::fromEngine(db, rc);
        sqlite3_close(db);
        throw error;
    }
    return db;
}

QString columnList()
{
    QStringList names;
    for (const char* column : SearchedColumns::kNames)
        names << QLatin1String(column);
    return names.join(QStringLiteral(", "));
}

} // namespace

Anchors::StockSearch::StockSearch(const QString& path) : m_db(openPlain(path, SQLITE_OPEN_READONLY)) {}

Anchors::StockSearch::~StockSearch()
{
    sqlite3_close(m_db);
}

long long Anchors::StockSearch::run(const QString& text, long long& bytes, bool asQString) const
{
    QString literal = text;
    literal.replace(QLatin1Char('\''), QLatin1String("''"));
    QStringList terms;
    for (const char* column : SearchedColumns::kNames)
        terms << QStringLiteral("(%1 LIKE '%%2%')").arg(QLatin1String(column), literal);
    const QByteArray sql =
        (QStringLiteral("SELECT * FROM tblTel WHERE ") + terms.join(QStringLiteral(" OR "))).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw DbError::fromEngine(m_db, sqlite3_errcode(m_db));
    // The result columns of SELECT * are ID, Category and then the eleven searched ones.
    long long rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++rows;
        for (int c = 2; c < 13; ++c) {
            const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            const int size = sqlite3_column_bytes(stmt, c);
            bytes += asQString ? QString::fromUtf8(value, size).size() : size;
        }
    }
    sqlite3_finalize(stmt);
    return rows;
}

Anchors::MemoryScan::MemoryScan(const QString& path)
{
    sqlite3* db = openPlain(path, SQLITE_OPEN_READONLY);
    const QByteArray sql = (QStringLiteral("SELECT ") + columnList() + QStringLiteral(" FROM tblTel")).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const DbError error = DbError::fromEngine(db, sqlite3_errcode(db));
        sqlite3_close(db);
        throw error;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < 11; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            if (text)
                m_text += fold(std::string_view(text, size_t(sqlite3_column_bytes(stmt, c))));
            m_text += kFieldEnd;
        }
        m_rowEnd.push_back(m_text.size());
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

std::string Anchors::MemoryScan::fold(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t before = pos;
        const char32_t c = TextFold::decode(utf8, pos);
        if (pos == before) { // a NUL inside the text: keep it and go on
            out += utf8[pos++];
            continue;
        }
        appendUtf8(out, TextFold::fold(c));
    }
    return out;
}

std::vector<unsigned> Anchors::MemoryScan::search(std::string_view foldedNeedle) const
{
    std::vector<unsigned> found;
    const char* base = m_text.data();
    const size_t size = m_text.size();
    size_t pos = 0;
    size_t row = 0;
    while (pos < size) {
        const void* hit = memmem(base + pos, size - pos, foldedNeedle.data(), foldedNeedle.size());
        if (!hit)
            break;
        const size_t offset = size_t(static_cast<const char*>(hit) - base);
        while (m_rowEnd[row] <= offset)
            ++row;
        found.push_back(unsigned(row));
        pos = m_rowEnd[row++];
    }
    return found;
}
