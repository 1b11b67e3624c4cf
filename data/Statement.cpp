#include "data/Statement.h"

#include "data/DbError.h"

#include <cstring>
#include <new>
#include <sqlite3.h>

Statement::Statement(sqlite3* db, const QString& sql) : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError::fromEngine(db, rc);
    }
}

long long Statement::scalar(sqlite3* db, const char* sql, long long fallback)
{
    sqlite3_stmt* stmt = nullptr;
    long long value = fallback;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW &&
        sqlite3_column_type(stmt, 0) != SQLITE_NULL)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
    }
    return *this;
}

void Statement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw DbError::fromEngine(m_db, rc);
}

void Statement::bind(int index, const StoredValue& value)
{
    const int rc = sqlite3_bind_value(m_stmt, index, value.get());
    if (rc != SQLITE_OK)
        throw DbError::fromEngine(m_db, rc);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const DbError error = DbError::fromEngine(m_db, rc);
    sqlite3_reset(m_stmt);
    throw error;
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    }
}

qint64 Statement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

Statement::StoredValue Statement::stored(int column) const
{
    sqlite3_value* copy = sqlite3_value_dup(sqlite3_column_value(m_stmt, column));
    if (!copy)
        throw std::bad_alloc();
    return StoredValue(copy, sqlite3_value_free);
}

std::string_view Statement::text(int column) const
{
    if (m_utf8File < 0) {
        // Text is stored in the file's encoding; only UTF-8 can be taken as it lies.
        sqlite3_stmt* pragma = nullptr;
        m_utf8File = 0;
        if (sqlite3_prepare_v2(m_db, "PRAGMA encoding", -1, &pragma, nullptr) == SQLITE_OK &&
            sqlite3_step(pragma) == SQLITE_ROW)
            m_utf8File = std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(pragma, 0)), "UTF-8") == 0;
        sqlite3_finalize(pragma);
    }
    sqlite3_value* value = sqlite3_column_value(m_stmt, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        if (m_utf8File) {
            // The bytes as stored, without the copy that adds a terminating zero.
            const void* bytes = sqlite3_value_blob(value);
            return {static_cast<const char*>(bytes), std::size_t(sqlite3_value_bytes(value))};
        }
        break;
    default:
        break;
    }
    // Sized once, so that no view handed out before moves.
    if (m_text.empty())
        m_text.resize(std::size_t(columnCount()));
    m_text[std::size_t(column)] = this->value(column).toString().toStdString();
    return m_text[std::size_t(column)];
}
