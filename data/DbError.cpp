#include "DbError.h"

#include <sqlite3.h>

DbError::DbError(int number, QString description)
    : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
{
}

bool DbError::isBusy() const
{
    return (m_number & 0xff) == SQLITE_BUSY || (m_number & 0xff) == SQLITE_LOCKED;
}
