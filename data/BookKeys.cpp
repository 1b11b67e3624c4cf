#include "data/BookKeys.h"

#include "data/Book.h"
#include "data/Database.h"

#include <QScopeGuard>
#include <algorithm>

namespace {
constexpr int kReserved = 8192; // keys room is made for at once
} // namespace

BookKeys::BookKeys(std::shared_ptr<Database> database, const Book& book) : m_database(std::move(database)), m_book(book)
{
}

std::vector<std::int64_t> BookKeys::readRange(bool forward, int limit)
{
    std::vector<std::int64_t> keys;
    if (limit <= 0)
        return keys;
    const bool lower = m_frontLast.set;
    const bool upper = m_backFirst.set;
    Statement& query = m_ranges[(forward ? 4 : 0) + (lower ? 2 : 0) + (upper ? 1 : 0)];
    if (!query.isValid()) {
        // A run is continued from its bound, the other run's bound ends the read. A row whose key an edit forgot
        // (NULL) is not read: edited here, it stays where the grid lists it; added or renamed elsewhere, it shows at
        // the next refresh, which gives it its key.
        QString sql;
        const QString other = QStringLiteral(" AND (SortKey, rowid) %1 (?%2, ?%3)");
        if (forward && lower) {
            const QString end = upper ? other.arg(QLatin1Char('<')).arg(4).arg(5) : QString();
            sql = continuedFrom(true, "?2", "?3", end, end);
        } else if (!forward && upper) {
            const QString end = lower ? other.arg(QLatin1Char('>')).arg(2).arg(3) : QString();
            sql = continuedFrom(false, "?4", "?5", end, end);
        } else {
            sql = QStringLiteral("SELECT rowid, SortKey FROM tblTel WHERE Category = ?1 AND SortKey IS NOT NULL");
            if (lower)
                sql += other.arg(QLatin1Char('>')).arg(2).arg(3);
            if (upper)
                sql += other.arg(QLatin1Char('<')).arg(4).arg(5);
            sql += forward ? QStringLiteral(" ORDER BY SortKey, rowid")
                           : QStringLiteral(" ORDER BY SortKey DESC, rowid DESC");
        }
        query = Statement(m_database->handle(), sql);
    }
    const auto done = qScopeGuard([&query] { query.reset(); });
    query.reset();
    query.bind(1, m_book.name());
    if (lower) {
        query.bind(2, m_frontLast.sortKey);
        query.bind(3, m_frontLast.id);
    }
    if (upper) {
        query.bind(4, m_backFirst.sortKey);
        query.bind(5, m_backFirst.id);
    }
    keys.reserve(std::size_t(std::min(limit, kReserved)));
    while (int(keys.size()) < limit && query.step())
        keys.push_back(query.int64(0));
    if (int(keys.size()) < limit) {
        m_met = true; // nothing left between the runs
    } else {
        // The statement is still on the last row read.
        Bound& bound = forward ? m_frontLast : m_backFirst;
        bound.sortKey = query.stored(1);
        bound.id = keys.back();
        bound.set = true;
    }
    return keys;
}

QString BookKeys::continuedFrom(bool forward, const char* key, const char* id, const QString& sameName,
                                const QString& beyond)
{
    // As a row value, (SortKey, rowid) > (key, id) is sought by SortKey alone: SQLite would step over every row
    // of the bound's name read before, and a common name read a batch at a time would cost its rows squared. Split
    // in two, the rest of the bound's name is sought by rowid and the names beyond it by their key. (A range of
    // SortKey beside the name's own key would turn SQLite to the index of Category alone.)
    const QString select = QStringLiteral("SELECT rowid, SortKey FROM tblTel WHERE Category = ?1 AND ");
    const QChar after = forward ? QLatin1Char('>') : QLatin1Char('<');
    return select +
           QStringLiteral("SortKey = %1 AND rowid %2 %3%4 UNION ALL ")
               .arg(QLatin1String(key), after, QLatin1String(id), sameName) +
           select + QStringLiteral("SortKey %1 %2%3").arg(after, QLatin1String(key), beyond) +
           (forward ? QStringLiteral(" ORDER BY SortKey, rowid")
                    : QStringLiteral(" ORDER BY SortKey DESC, rowid DESC"));
}

std::vector<std::int64_t> BookKeys::readAt(int offset, int limit, bool fromEnd)
{
    std::vector<std::int64_t> keys;
    if (limit <= 0 || offset < 0)
        return keys;
    Statement& query = m_at[fromEnd ? 1 : 0];
    if (!query.isValid()) {
        // SQLite skips the rows before the offset inside the index, without making them result rows: a screen in
        // the middle of half a million rows costs a walk over the index, not a key read for every row before it.
        query = Statement(m_database->handle(),
                          QStringLiteral("SELECT rowid FROM tblTel WHERE Category = ?1 AND SortKey IS NOT NULL "
                                         "ORDER BY SortKey %1, rowid %1 LIMIT ?2 OFFSET ?3")
                              .arg(fromEnd ? QStringLiteral("DESC") : QStringLiteral("ASC")));
    }
    const auto done = qScopeGuard([&query] { query.reset(); });
    query.reset();
    query.bind(1, m_book.name());
    query.bind(2, limit);
    query.bind(3, offset);
    keys.reserve(std::size_t(limit));
    while (query.step())
        keys.push_back(query.int64(0));
    return keys;
}
