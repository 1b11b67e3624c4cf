#include "data/DataControl.h"

#include "data/Book.h"
#include "data/BookLetters.h"
#include "data/SearchIndex.h"
#include "data/SortKey.h"

namespace {

// The statement's test on the keys of the names filed under `letter`: one range of keys that covers every form of
// the letter (a Hebrew letter's final form may sort apart from it), or nothing where the collator joins a form with
// the next letter.
QString letterKeyRange(const QString& letter)
{
    QByteArray low;
    QByteArray high;
    for (const QChar form : BookLetters::forms(letter)) {
        QByteArray formLow;
        QByteArray formHigh;
        if (!SortKey::prefixRange(QString(form), &formLow, &formHigh))
            return QString();
        if (low.isEmpty() || formLow < low)
            low = formLow;
        if (high.isEmpty() || formHigh > high)
            high = formHigh;
    }
    return QStringLiteral(" AND SortKey BETWEEN x'%1' AND x'%2'")
        .arg(QString::fromLatin1(low.toHex()), QString::fromLatin1(high.toHex()));
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
    FoundRows lines;
    QVector<qint64> foundKeys;
    std::unique_ptr<::Recordset> next;
    const Book* keyedBook = nullptr;
    const Query::Kind kind = m_query ? m_query->kind() : Query::Kind::Entries;
    if (kind == Query::Kind::Search) {
        // The same rows, found through the in-memory copy of the searched columns.
        SearchIndex::Result found = SearchIndex::forFile(m_databaseName)->search(m_query->searchPattern());
        foundKeys = found.keys; // shared with the record set's, not copied
        next = std::make_unique<::Recordset>(m_database, QStringLiteral("tblTel"), std::move(found.keys));
        lines = std::move(found.lines);
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
        // come from the windows' own lists; the keys are written as blob literals.
        const Book& book = *m_query->book();
        next = std::make_unique<::Recordset>(
            m_database, QStringLiteral("SELECT * FROM tblTel WHERE Category = '%1'%2 AND %3 LIKE '%4' ORDER BY "
                                       "SortKey, rowid")
                            .arg(book.name(), letterKeyRange(m_query->text()), book.sortColumn(),
                                 m_query->letterPattern()));
    } else {
        // Rows without keys (a file that cannot be written, another tool busy writing) keep the statement's own
        // order, which SQLite gives in every case.
        next =
            std::make_unique<::Recordset>(m_database, m_recordSource, m_query ? m_query->parameters() : QVariantList());
    }
    m_dataVersion = m_database->dataVersion();
    m_recordset = std::move(next);
    m_found = std::move(lines);
    m_foundKeys = std::move(foundKeys);
    m_keyedBook = keyedBook;
    Q_EMIT refreshed();
}

bool DataControl::refreshIfChanged()
{
    if (!m_database || m_database->dataVersion() == m_dataVersion)
        return false;
    Refresh();
    return true;
}
