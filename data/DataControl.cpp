#include "data/DataControl.h"

#include "data/Book.h"
#include "data/BookLetters.h"
#include "data/LetterKeys.h"
#include "data/SearchIndex.h"
#include "data/SearchedColumns.h"
#include "data/SortKey.h"

namespace {

// The range of keys of the names filed under `letter`: one range that covers every form of the letter (a Hebrew
// letter's final form may sort apart from it). False where the collator joins a form with the next letter.
bool letterKeyRange(const QString& letter, QByteArray& low, QByteArray& high)
{
    for (const QChar form : BookLetters::forms(letter)) {
        QByteArray formLow;
        QByteArray formHigh;
        if (!SortKey::prefixRange(QString(form), &formLow, &formHigh))
            return false;
        if (low.isEmpty() || formLow < low)
            low = formLow;
        if (high.isEmpty() || formHigh > high)
            high = formHigh;
    }
    return true;
}

} // namespace

DataControl::DataControl(QObject* parent) : QObject(parent) {}

DataControl::~DataControl() = default;

void DataControl::setDatabaseName(const QString& path)
{
    if (path == m_databaseName)
        return;
    m_databaseName = path;
    m_recordset.reset();
    m_found = FoundRows();
    m_keyedBook = nullptr;
    m_database.reset();
}

void DataControl::setRecordSource(const Query& query)
{
    m_recordSource = query.statement();
    m_query = query;
}

void DataControl::setRecordSource(const QString& sql)
{
    m_recordSource = sql;
    m_query.reset();
}

void DataControl::Refresh()
{
    if (!m_database)
        m_database = Database::open(m_databaseName);
    // Run beside the old cursor, the statement would see the file as it was when that cursor began.
    if (m_recordset)
        m_recordset->release();
    FoundRows found;
    std::unique_ptr<::Recordset> next;
    const Book* keyedBook = nullptr;
    std::optional<LetterRange> letter;
    const Query::Kind kind = m_query ? m_query->kind() : Query::Kind::Entries;
    if (kind == Query::Kind::Search) {
        // The same rows, found through the in-memory copy of the searched columns.
        SearchIndex::Result result = SearchIndex::forFile(m_databaseName)->search(m_query->searchPattern());
        if (result.keysInFile)
            found = FoundRows(m_database, result.keys); // the keys are shared with the record set's, not copied
        next = std::make_unique<::Recordset>(m_database, QStringLiteral("tblTel"), std::move(result.keys));
    } else if (kind == Query::Kind::Book && m_database->refreshSortKeys()) {
        // The book's rows in the order of their keys, made from its sort column.
        const Book& book = *m_query->book();
        next = std::make_unique<::Recordset>(m_database, QStringLiteral("SELECT * FROM tblTel WHERE Category = '") +
                                                             book.name() + QStringLiteral("' ORDER BY SortKey, rowid"));
        keyedBook = &book;
    } else if (kind == Query::Kind::Letter && m_database->refreshSortKeys()) {
        // A letter's names in the book's order. The keys of the names that begin with it are one range of the
        // book's index, read from its start, so the first screen comes at once; the statement's own test picks the
        // letter's names from the range (which also holds its accented forms). Where the collator joins the letter
        // with the next one (Czech "ch"), the whole book is walked in key order instead. The book and the letter
        // come from the windows' own lists; the keys are written as blob literals. Once the search's copy is read,
        // the grid lists the range's keys as the copy picks them, and the statement is not walked at all.
        const Book& book = *m_query->book();
        QByteArray low;
        QByteArray high;
        const bool ranged = letterKeyRange(m_query->text(), low, high);
        const QString range = ranged ? QStringLiteral(" AND SortKey BETWEEN x'%1' AND x'%2'")
                                           .arg(QString::fromLatin1(low.toHex()), QString::fromLatin1(high.toHex()))
                                     : QString();
        if (ranged)
            letter = letterFromIndex(book, low, high);
        next = std::make_unique<::Recordset>(
            m_database, QStringLiteral("SELECT * FROM tblTel WHERE Category = '%1'%2 AND %3 LIKE '%4' ORDER BY "
                                       "SortKey, rowid")
                            .arg(book.name(), range, book.sortColumn(),
                                 m_query->letterPattern()));
    } else {
        // Rows without keys (a file that cannot be written, another tool busy writing) keep the statement's own
        // order, which SQLite gives in every case.
        next =
            std::make_unique<::Recordset>(m_database, m_recordSource, m_query ? m_query->parameters() : QVariantList());
    }
    m_dataVersion = m_database->dataVersion();
    m_recordset = std::move(next);
    m_found = std::move(found);
    m_keyedBook = keyedBook;
    m_letter = std::move(letter);
    Q_EMIT refreshed();
}

std::optional<DataControl::LetterRange> DataControl::letterFromIndex(const Book& book, const QByteArray& low,
                                                                     const QByteArray& high) const
{
    // The range holds the letter's names and the few that only sort with them (an accented first letter, say);
    // which begin with the letter, the statement's test, the copy of the names tells without reading the rows.
    std::shared_ptr<SearchIndex> copy = SearchIndex::keptFor(m_databaseName);
    const int column = SearchedColumns::indexOf(book.sortColumn());
    if (column < 0 || !copy || !copy->isRead())
        return std::nullopt;
    return LetterRange{&book, low, high, std::move(copy), column, m_query->letterPattern().toStdString()};
}

std::unique_ptr<KeyReader> DataControl::letterKeys() const
{
    if (!m_letter)
        return nullptr;
    return std::make_unique<LetterKeys>(m_database, *m_letter->book, m_letter->low, m_letter->high, m_letter->copy,
                                        m_letter->column, m_letter->pattern);
}

bool DataControl::refreshIfChanged()
{
    if (!m_database || m_database->dataVersion() == m_dataVersion)
        return false;
    Refresh();
    return true;
}
