// Debian's SQLite is built with the pre-update hook; its declarations are shown only on request.
#define SQLITE_ENABLE_PREUPDATE_HOOK 1

#include "data/UndoLog.h"

#include "data/Database.h"
#include "data/DbError.h"
#include "data/Statement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstring>
#include <map>
#include <memory>
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

// Writes the changes of one step back or forth. A step may change thousands of rows of one table (an import):
// each kind of statement is prepared once per table and run once per row, and finds its row by its rowid first,
// testing there that the row holds exactly what the step left in it (the sort key aside). Only where that row is
// not it (a VACUUM renumbered the rows) is the table searched for the row by its contents.
class StepWriter
{
public:
    StepWriter(Database& db, const QString& stepName) : m_db(db), m_stepName(stepName) {}

    // Turns the row holding `was` (none: the row is added) into `becomes` (none: the row is deleted); returns
    // where the row is now, or was when it was deleted. Refuses the step when no row holds `was`.
    qint64 write(const QString& table, const QList<UndoLog::Value>& was, const QList<UndoLog::Value>& becomes,
                 qint64 hint)
    {
        Table& t = tableOf(table);
        if (t.columns.size() != std::max(was.size(), becomes.size()))
            refuse(m_stepName);
        if (was.isEmpty()) {
            run(t, t.insert, t.inserted, becomes, -1, {});
            return sqlite3_last_insert_rowid(m_db.handle());
        }
        Statement& at = becomes.isEmpty() ? t.deleteAt : t.updateAt;
        if (run(t, at, t.updated, becomes, hint, was))
            return hint;
        // Not where it was last seen: looked for by its contents.
        t.find.reset();
        int index = 1;
        for (int i : t.compared)
            bindValue(t.find.handle(), index++, was.at(i));
        if (!t.find.step())
            refuse(m_stepName);
        const qint64 row = t.find.int64(0);
        t.find.reset();
        if (!run(t, at, t.updated, becomes, row, was))
            refuse(m_stepName);
        return row;
    }

private:
    struct Table
    {
        QList<Database::ColumnInfo> columns;
        QList<int> compared; // every column but the sort key
        QList<int> updated;  // and but the integer key
        QList<int> inserted; // every column but the sort key
        Statement find;      // the row holding the compared values
        Statement deleteAt;  // the row at a rowid, when it holds the compared values
        Statement updateAt;
        Statement insert;
    };

    static QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

    Table& tableOf(const QString& name)
    {
        auto found = m_tables.find(name);
        if (found != m_tables.end())
            return *found->second;
        auto t = std::make_unique<Table>();
        t->columns = m_db.columns(name);
        QStringList tests;
        QStringList inserted;
        QStringList updated;
        for (int i = 0; i < t->columns.size(); ++i) {
            const Database::ColumnInfo& column = t->columns.at(i);
            if (derived(column.name))
                continue;
            tests << quoted(column.name) + QStringLiteral(" IS ? COLLATE BINARY");
            t->compared << i;
            t->inserted << i;
            inserted << quoted(column.name);
            if (!column.isIntegerKey) {
                t->updated << i;
                updated << quoted(column.name) + QStringLiteral(" = ?");
            }
        }
        const QString where = tests.join(QStringLiteral(" AND "));
        const QString table = quoted(name);
        t->find = Statement(m_db.handle(), QStringLiteral("SELECT rowid FROM %1 WHERE %2 LIMIT 1").arg(table, where));
        t->deleteAt =
            Statement(m_db.handle(), QStringLiteral("DELETE FROM %1 WHERE rowid = ? AND %2").arg(table, where));
        if (!updated.isEmpty())
            t->updateAt = Statement(m_db.handle(), QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ? AND %3")
                                                       .arg(table, updated.join(QStringLiteral(", ")), where));
        t->insert = Statement(m_db.handle(),
                              QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, inserted.join(QLatin1Char(',')),
                                       QStringList(inserted.size(), QStringLiteral("?")).join(QLatin1Char(','))));
        return *m_tables.emplace(name, std::move(t)).first->second;
    }

    // Binds the values written, then the rowid and the values the row must hold (for a row found first); true when
    // a row was written.
    bool run(const Table& t, Statement& statement, const QList<int>& written, const QList<UndoLog::Value>& becomes,
             qint64 row, const QList<UndoLog::Value>& was)
    {
        if (!statement.isValid())
            refuse(m_stepName);
        statement.reset();
        int index = 1;
        if (!becomes.isEmpty()) {
            for (int i : written)
                bindValue(statement.handle(), index++, becomes.at(i));
        }
        if (!was.isEmpty()) {
            sqlite3_bind_int64(statement.handle(), index++, row);
            for (int i : t.compared)
                bindValue(statement.handle(), index++, was.at(i));
        }
        statement.step();
        return sqlite3_changes(m_db.handle()) > 0;
    }

    Database& m_db;
    QString m_stepName;
    std::map<QString, std::unique_ptr<Table>> m_tables;
};

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
        StepWriter writer(*db, step.name);
        for (qsizetype n = 0; n < step.changes.size(); ++n) {
            Change& change = step.changes[forward ? n : step.changes.size() - 1 - n];
            // Done again, the statement's own change runs the trigger again.
            if (forward && change.byTrigger)
                continue;
            change.rowid = writer.write(change.table, forward ? change.before : change.after,
                                        forward ? change.after : change.before, change.rowid);
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
