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
        // Row values continue a run from its bound. A row whose key an edit forgot (NULL) is not read: edited here,
        // it stays where the grid lists it; added or renamed elsewhere, it shows at the next refresh, which gives it
        // its key.
        QString sql = QStringLiteral("SELECT rowid, SortKey FROM tblTel WHERE Category = ?1 AND SortKey IS NOT NULL");
        if (lower)
            sql += QStringLiteral(" AND (SortKey, rowid) > (?2, ?3)");
        if (upper)
            sql += QStringLiteral(" AND (SortKey, rowid) < (?4, ?5)");
        sql +=
            forward ? QStringLiteral(" ORDER BY SortKey, rowid") : QStringLiteral(" ORDER BY SortKey DESC, rowid DESC");
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
