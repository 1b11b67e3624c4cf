#include "data/LetterKeys.h"

#include "data/Book.h"
#include "data/BookKeys.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "data/SearchIndex.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <sqlite3.h>

LetterKeys::LetterKeys(std::shared_ptr<Database> database, const Book& book, QByteArray low, QByteArray high,
                       std::shared_ptr<SearchIndex> copy, int column, std::string pattern)
    : m_database(std::move(database)), m_book(book), m_low(std::move(low)), m_high(std::move(high)),
      m_copy(std::move(copy)), m_column(column), m_pattern(std::move(pattern))
{
}

std::vector<std::int64_t> LetterKeys::readForward(int limit)
{
    std::vector<std::int64_t> keys;
    while (!m_end && int(keys.size()) < limit) {
        std::vector<std::int64_t> batch = readRange(limit - int(keys.size()));
        if (!m_copy->keepMatching(batch, m_column, m_pattern))
            throw DbError(0, QCoreApplication::translate("LetterKeys", "The names of the letter could not be read."));
        keys.insert(keys.end(), batch.begin(), batch.end());
    }
    return keys;
}

std::vector<std::int64_t> LetterKeys::readRange(int limit)
{
    Statement& query = m_started ? m_next : m_first;
    if (!query.isValid()) {
        query = Statement(
            m_database->handle(),
            m_started ? BookKeys::continuedFrom(true, "?4", "?5", QString(), QStringLiteral(" AND SortKey <= ?3"))
                      : QStringLiteral("SELECT rowid, SortKey FROM tblTel WHERE Category = ?1 AND "
                                       "SortKey BETWEEN ?2 AND ?3 ORDER BY SortKey, rowid"));
    }
    const auto done = qScopeGuard([&query] { query.reset(); });
    query.reset();
    query.bind(1, m_book.name());
    // Blobs, as the program writes the keys (and the letter's statement compares them).
    for (const auto& [index, key] : {std::pair{2, &m_low}, std::pair{3, &m_high}}) {
        const int rc = sqlite3_bind_blob(query.handle(), index, key->constData(), int(key->size()), SQLITE_TRANSIENT);
        if (rc != SQLITE_OK)
            throw DbError::fromEngine(m_database->handle(), rc);
    }
    if (m_started) {
        query.bind(4, m_lastKey);
        query.bind(5, m_lastId);
    }
    std::vector<std::int64_t> keys;
    while (int(keys.size()) < limit && query.step())
        keys.push_back(query.int64(0));
    if (int(keys.size()) < limit) {
        m_end = true;
    } else {
        m_lastKey = query.stored(1); // the statement is still on the last row read
        m_lastId = keys.back();
        m_started = true;
    }
    return keys;
}
