#pragma once

#include <QByteArray>
#include <QString>

// A file the user names for an export or a printout, written whole or not at all.
//
// The bytes go to a new file beside the path given, which takes the path by a rename only at the end, and only
// where nothing is there yet or a regular file of the user's own is: never the directory file or its journal under
// any name (a hard link or a symbolic link to it), never a folder, pipe or device, never a symbolic link (a rename
// would not go where the link points, and following it in a shared folder could reach another user's file), never
// another user's file. Every failure throws DbError naming the path and the system's reason, and leaves whatever
// was at the path as it was.
class TargetFile
{
public:
    // Checks the path and makes the temporary file beside it. `database` is the directory file in use.
    TargetFile(const QString& path, const QString& database);
    ~TargetFile();
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;

    // Where a writer that opens its file by name (the PDF printer) is to write.
    QString temporaryPath() const;
    void write(const QByteArray& bytes);
    // Makes the bytes durable, looks at the path again and renames the new file over it. With `ending`, the file
    // must end with those bytes (trailing white space aside): a writer that stopped midway left no whole file.
    void commit(const QByteArray& ending = QByteArray());

    // The whole of it for bytes in memory.
    static void save(const QString& path, const QByteArray& bytes, const QString& database);
    // Why `path` cannot take an export, for the user; empty when it can.
    static QString refusal(const QString& path, const QString& database);

private:
    [[noreturn]] void fail(const QString& reason);

    QString m_path;
    QString m_database;
    QByteArray m_temporary;
    int m_fd = -1;
};
