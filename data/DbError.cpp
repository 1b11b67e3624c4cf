#include "data/DbError.h"

#include "data/Database.h"

#include <QCoreApplication>
#include <sqlite3.h>

static_assert(DbError::CannotOpen == SQLITE_CANTOPEN, "the layer names the engine's number");

DbError::DbError(int number, QString description)
    : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
{
}

bool DbError::isBusy() const
{
    return (m_number & 0xff) == SQLITE_BUSY || (m_number & 0xff) == SQLITE_LOCKED;
}

DbError DbError::fromEngine(sqlite3* db, int rc)
{
    const int code = db ? sqlite3_extended_errcode(db) : rc;
    QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    const QString where = file && *file ? QString::fromUtf8(file) : QString();

    const QLatin1String check("CHECK constraint failed: ");
    const QLatin1String noTable("no such table: ");
    if (message.startsWith(check))
        message = QCoreApplication::translate("DbError", "The value was refused: %1.").arg(message.mid(check.size()));
    else if (message.startsWith(noTable))
        message =
            QCoreApplication::translate(
                "DbError", "The database file has no table %1: it is damaged or was made by another program (%2).")
                .arg(message.mid(noTable.size()), message);
    else if ((code & 0xff) == SQLITE_NOTADB)
        message =
            QCoreApplication::translate("DbError", "The file is not a database of this program, or it is damaged (%1).")
                .arg(message);
    else if ((code & 0xff) == SQLITE_CORRUPT)
        message = QCoreApplication::translate("DbError", "The database file is damaged (%1).").arg(message);
    else if (((code & 0xff) == SQLITE_READONLY || (code & 0xff) == SQLITE_AUTH) && !where.isEmpty() &&
             Database::heldUntilChecked(where))
        message = QCoreApplication::translate("DbError", "The database file is being checked for damage, as at every "
                                                         "start, and takes no changes until the check has ended, in a "
                                                         "moment. Nothing was saved; try again (%1).")
                      .arg(message);
    else if (((code & 0xff) == SQLITE_READONLY || (code & 0xff) == SQLITE_AUTH) && !where.isEmpty() &&
             Database::writesHeld(where))
        message = QCoreApplication::translate("DbError", "The database file is damaged and was opened for reading "
                                                         "only, so that nothing more of it is lost. Nothing was "
                                                         "saved (%1).")
                      .arg(message);
    else if ((code & 0xff) == SQLITE_READONLY)
        message = QCoreApplication::translate(
                      "DbError", "The database file cannot be written: it or its folder is read-only. Nothing was "
                                 "saved (%1).")
                      .arg(message);
    else if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED)
        message = QCoreApplication::translate(
                      "DbError", "The database file is in use by another program, which did not let go of it for "
                                 "a few seconds; try again (%1).")
                      .arg(message);
    else if ((code & 0xff) == SQLITE_FULL)
        message = QCoreApplication::translate("DbError", "The disk or the database file is full (%1).").arg(message);
    else if ((code & 0xff) == SQLITE_IOERR)
        message = QCoreApplication::translate(
                      "DbError", "The database file could not be read or written: the disk may be full, removed or "
                                 "failing (%1).")
                      .arg(message);
    if (!where.isEmpty())
        message = QCoreApplication::translate("DbError", "%1\nDatabase file: %2").arg(message, where);
    return DbError(code, message);
}
