#pragma once

#include <QString>
#include <exception>

struct sqlite3;

// The one failure type of the database layer: every engine failure, refused value or unreadable file reaches the
// caller as a number and a description the user can be shown.
class DbError : public std::exception
{
public:
    // Numbers of failures the layer itself raises; engine failures carry SQLite's (extended) result code.
    enum Number {
        ItemNotFound = 3265,        // a field name the table does not have
        ConversionError = 3421,     // a text that is no date or time for a date or time field
        ChangedElsewhere = 3197,    // a row written or deleted by another program since it was shown
        NoCurrentRecord = 3021,     // a field read or written with no row current
        FieldTooSmall = 3163,       // a value longer than its column holds
        NotUpdatable = 3027,        // a record set that cannot take the write asked of it
        UpdateWithoutAddNew = 3020, // Update or CancelUpdate with no row begun
        CannotOpen = 14             // the file cannot be opened: the engine's own number, for failures found before it
    };

    DbError(int number, QString description);
    // The error of the last call on `db` (or `rc` without a connection), with a description the user can be shown
    // that names the file.
    static DbError fromEngine(sqlite3* db, int rc);

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    // Another program holds the file: the same step may work a moment later.
    bool isBusy() const;
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};
