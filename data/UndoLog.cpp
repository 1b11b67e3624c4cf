// Debian's SQLite is built with the pre-update hook; its declarations are shown only on request.
#define SQLITE_ENABLE_PREUPDATE_HOOK 1

#include "data/UndoLog.h"

#include "data/Database.h"
#include "data/DbError.h"
#include "data/Statement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstring>
#include <sqlite3.h>

namespace {

thread_local UndoLog::Recording* t_recording = nullptr;

// The derived sort key is left out: the program makes it again, and comparing it would refuse every renamed row.
bool derived(const QString& column)
{
    return column.compare(QLatin1String("SortKey"), Qt::CaseInsensitive) == 0;
}

QString fileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

UndoLog::Value valueOf(sqlite3_value* value)
{
    UndoLog::Value result;
    result.type = sqlite3_value_type(value);
    switch (result.type) {
    case SQLITE_INTEGER:
        result.integer = sqlite3_value_int64(value);
        break;
    case SQLITE_FLOAT:
        result.real = sqlite3_value_double(value);
        break;
    case SQLITE_TEXT:
        result.bytes = QByteArray(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
        break;
    case SQLITE_BLOB:
        result.bytes = QByteArray(static_cast<const char*>(sqlite3_value_blob(value)), sqlite3_value_bytes(value));
        break;
    default:
        break;
    }
    return result;
}

void bindValue(sqlite3_stmt* stmt, int index, const UndoLog::Value& value)
{
    switch (value.type) {
    case SQLITE_INTEGER:
        sqlite3_bind_int64(stmt, index, value.integer);
        break;
    case SQLITE_FLOAT:
        sqlite3_bind_double(stmt, index, value.real);
        break;
    case SQLITE_TEXT:
        sqlite3_bind_text(stmt, index, value.bytes.constData(), int(value.bytes.size()), SQLITE_TRANSIENT);
        break;
    case SQLITE_BLOB:
        sqlite3_bind_blob(stmt, index, value.bytes.constData(), int(value.bytes.size()), SQLITE_TRANSIENT);
        break;
    default:
        sqlite3_bind_null(stmt, index);
        break;
    }
}

void preupdate(void*, sqlite3* db, int op, const char* schema, const char* table, sqlite3_int64 oldKey,
               sqlite3_int64 newKey)
{
    UndoLog::Recording* recording = t_recording;
    if (!recording || std::strcmp(schema, "main") != 0)
        return;
    const QString name = QString::fromUtf8(table);
    // A message's state is also changed by the triggers that follow its message: that change is recorded too, so
    // taking back a deletion brings the state back with the message.
    const bool state = name == QLatin1String("tovrin_message");
    const int depth = sqlite3_preupdate_depth(db);
    if (depth > (state ? 1 : 0))
        return;
    if (name.compare(QLatin1String("tblTel"), Qt::CaseInsensitive) != 0 &&
        name.compare(QLatin1String("tblMes"), Qt::CaseInsensitive) != 0 && !state)
        return;
    UndoLog::Change change;
    change.table = name;
    change.byTrigger = depth > 0;
    change.rowid = op == SQLITE_DELETE ? oldKey : newKey;
    const int count = sqlite3_preupdate_count(db);
    for (int i = 0; i < count; ++i) {
        sqlite3_value* value = nullptr;
        if (op != SQLITE_INSERT && sqlite3_preupdate_old(db, i, &value) == SQLITE_OK)
            change.before.append(valueOf(value));
        if (op != SQLITE_DELETE && sqlite3_preupdate_new(db, i, &value) == SQLITE_OK)
            change.after.append(valueOf(value));
    }
    recording->add(change, QString::fromUtf8(sqlite3_db_filename(db, "main")));
}

[[noreturn]] void refuse(const QString& what)
{
    throw DbError(DbError::ChangedElsewhere,
                  QCoreApplication::translate(
                      "UndoLog", "\"%1\" cannot be taken back or done again: a row it changed was changed or deleted "
                                 "elsewhere since (another copy of the program or another tool). Nothing was changed.")
                      .arg(what));
}

// The row of `table` holding exactly `values` (the sort key aside), looked for at `hint` first; -1 when none does.
qint64 findRow(Database& db, const QString& table, const QList<Database::ColumnInfo>& columns,
               const QList<UndoLog::Value>& values, qint64 hint)
{
    QStringList tests;
    QList<int> bound;
    for (int i = 0; i < columns.size(); ++i) {
        if (derived(columns.at(i).name))
            continue;
        tests << QStringLiteral("\"%1\" IS ? COLLATE BINARY").arg(columns.at(i).name);
        bound << i;
    }
    const QString where = tests.join(QStringLiteral(" AND "));
    for (const bool atHint : {true, false}) {
        Statement find(db.handle(), QStringLiteral("SELECT rowid FROM \"%1\" WHERE %2%3 LIMIT 1")
                                        .arg(table, atHint ? QStringLiteral("rowid = ? AND ") : QString(), where));
        int index = 1;
        if (atHint)
            sqlite3_bind_int64(find.handle(), index++, hint);
        for (int i : bound)
            bindValue(find.handle(), index++, values.at(i));
        if (find.step())
            return find.int64(0);
    }
    return -1;
}

} // namespace

bool UndoLog::Value::operator==(const Value& other) const
{
    return type == other.type && integer == other.integer && real == other.real && bytes == other.bytes;
}

UndoLog& UndoLog::instance()
{
    static UndoLog log;
    return log;
}

UndoLog::Recording::Recording(const QString& name)
{
    m_step.name = name;
    m_outer = t_recording == nullptr;
    if (m_outer)
        t_recording = this;
}

UndoLog::Recording::~Recording()
{
    if (!m_outer)
        return;
    t_recording = nullptr;
    if (m_keep && !m_step.changes.isEmpty())
        UndoLog::instance().push(std::move(m_step));
}

void UndoLog::watch(sqlite3* db)
{
    sqlite3_preupdate_hook(db, preupdate, nullptr);
}

void UndoLog::push(Step step)
{
    step.file = fileKey(step.file);
    m_done.append(std::move(step));
    m_undone.clear();
    Q_EMIT changed();
}

QString UndoLog::undoName(const QString& file) const
{
    const QString key = fileKey(file);
    for (auto it = m_done.crbegin(); it != m_done.crend(); ++it) {
        if (it->file == key)
            return it->name;
    }
    return QString();
}

QString UndoLog::redoName(const QString& file) const
{
    const QString key = fileKey(file);
    for (auto it = m_undone.crbegin(); it != m_undone.crend(); ++it) {
        if (it->file == key)
            return it->name;
    }
    return QString();
}

void UndoLog::undo(const QString& file)
{
    apply(file, m_done, m_undone, false);
}

void UndoLog::redo(const QString& file)
{
    apply(file, m_undone, m_done, true);
}

void UndoLog::apply(const QString& file, QList<Step>& from, QList<Step>& to, bool forward)
{
    const QString key = fileKey(file);
    qsizetype index = from.size() - 1;
    while (index >= 0 && from.at(index).file != key)
        --index;
    if (index < 0)
        return;
    Step step = from.at(index);
    const std::shared_ptr<Database> db = Database::open(file);
    db->transaction([&] {
        for (qsizetype n = 0; n < step.changes.size(); ++n) {
            Change& change = step.changes[forward ? n : step.changes.size() - 1 - n];
            // Done again, the statement's own change runs the trigger again.
            if (forward && change.byTrigger)
                continue;
            const QList<Value>& was = forward ? change.before : change.after;
            const QList<Value>& becomes = forward ? change.after : change.before;
            const QList<Database::ColumnInfo> columns = db->columns(change.table);
            if (columns.size() != std::max(was.size(), becomes.size()))
                refuse(step.name);
            qint64 row = -1;
            if (!was.isEmpty() && (row = findRow(*db, change.table, columns, was, change.rowid)) < 0)
                refuse(step.name);
            QStringList names;
            QList<int> written;
            for (int i = 0; i < columns.size(); ++i) {
                if (derived(columns.at(i).name) || (columns.at(i).isIntegerKey && row >= 0))
                    continue;
                names << QLatin1Char('"') + columns.at(i).name + QLatin1Char('"');
                written << i;
            }
            QString sql;
            if (becomes.isEmpty())
                sql = QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(change.table);
            else if (row >= 0)
                sql = QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE rowid = ?")
                          .arg(change.table, names.join(QStringLiteral(" = ?, ")));
            else
                sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                          .arg(change.table, names.join(QLatin1Char(',')),
                               QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
            Statement write(db->handle(), sql);
            int bound = 1;
            if (!becomes.isEmpty()) {
                for (int i : written)
                    bindValue(write.handle(), bound++, becomes.at(i));
            }
            if (row >= 0)
                sqlite3_bind_int64(write.handle(), bound, row);
            write.step();
            change.rowid = row >= 0 ? row : sqlite3_last_insert_rowid(db->handle());
        }
    });
    from.removeAt(index);
    to.append(std::move(step));
    Q_EMIT changed();
}

void UndoLog::clearForTesting()
{
    m_done.clear();
    m_undone.clear();
    Q_EMIT changed();
}
