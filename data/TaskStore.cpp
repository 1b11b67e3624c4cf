#include "data/TaskStore.h"

#include "data/Database.h"
#include "data/Statement.h"

#include <sqlite3.h>

namespace {

// tblMes's five values of the message `m`, then the state `s` holds of it, each as text.
const char* const kMessageValues[] = {"coalesce(m.Cdate, '')",
                                      "coalesce(m.Ctime, '')",
                                      "coalesce(m.Meet, '')",
                                      "coalesce(m.Avur, '')",
                                      "coalesce(m.Hodaa, '')",
                                      "CAST(coalesce(s.done, 0) AS TEXT)",
                                      "coalesce(s.done_at, '')",
                                      "coalesce(s.done_by, '')",
                                      "CAST(coalesce(s.call_back, 0) AS TEXT)",
                                      "CAST(coalesce(s.urgent, 0) AS TEXT)"};
const char* const kMesColumns[] = {"Cdate", "Ctime", "Meet", "Avur", "Hodaa"};

// The state `s` is tied to the message `m` (it was last seen with the values `m` holds).
QString tied()
{
    QStringList tests{QStringLiteral("s.message = m.rowid")};
    for (const char* column : kMesColumns)
        tests << QStringLiteral("s.%1 IS m.%1 COLLATE BINARY").arg(QLatin1String(column));
    return tests.join(QStringLiteral(" AND "));
}

// The message `m` with its state `s` holds the values bound from `first` on (or those of the task `t`).
QString holds(int first, const QString& task = QString())
{
    QStringList tests;
    for (int i = 0; i < TaskStore::kCount; ++i)
        tests << QStringLiteral("%1 = %2 COLLATE BINARY")
                     .arg(QLatin1String(kMessageValues[i]),
                          task.isEmpty() ? QStringLiteral("?%1").arg(first + i)
                                         : QStringLiteral("%1.%2").arg(task, TaskStore::columns().at(i)));
    return tests.join(QStringLiteral(" AND "));
}

QVariant orNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

struct Changed
{
};

// One message write; throws Changed when the message no longer holds what it is expected to.
void write(Database& db, TaskStore::MessageWrite& change)
{
    using Kind = TaskStore::MessageWrite::Kind;
    const auto check = [&] {
        if (sqlite3_changes(db.handle()) == 0)
            throw Changed();
    };
    const auto bindValues = [](Statement& statement, int first, const QStringList& values, int count) {
        for (int i = 0; i < count; ++i)
            statement.bind(first + i, i < 2 ? orNull(values.value(i)) : QVariant(values.value(i)));
    };
    if (change.kind != Kind::Insert) {
        // The message as read, state and all: anything changed meanwhile is seen at the next sync.
        Statement same(db.handle(), QStringLiteral("SELECT 1 FROM tblMes m LEFT JOIN tovrin_message s ON %1 WHERE "
                                                   "m.rowid = ?1 AND %2 AND s.uid IS ?12")
                                        .arg(tied(), holds(2)));
        same.bind(1, change.rowid);
        for (int i = 0; i < TaskStore::kCount; ++i)
            same.bind(2 + i, change.expected.value(i));
        same.bind(12, change.kind == Kind::Claim ? QVariant() : QVariant(change.uid));
        if (!same.step())
            throw Changed();
    }
    if (change.kind == Kind::Delete) {
        Statement remove(db.handle(), QStringLiteral("DELETE FROM tblMes WHERE rowid = ?"));
        remove.bind(1, change.rowid);
        remove.step();
        check();
        return;
    }
    if (change.kind == Kind::Insert) {
        Statement insert(db.handle(),
                         QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES (?, ?, ?, ?, ?)"));
        bindValues(insert, 1, change.values, 5);
        insert.step();
        change.rowid = sqlite3_last_insert_rowid(db.handle());
    } else if (change.kind == Kind::Update) {
        Statement update(db.handle(), QStringLiteral("UPDATE tblMes SET Cdate = ?, Ctime = ?, Meet = ?, Avur = ?, "
                                                     "Hodaa = ? WHERE rowid = ?"));
        bindValues(update, 1, change.values, 5);
        update.bind(6, change.rowid);
        update.step();
        check();
    }
    const QStringList& values = change.kind == Kind::Claim ? change.expected : change.values;
    // The state row follows its message (the triggers carried an update's values along).
    Statement state(db.handle(),
                    QStringLiteral("INSERT INTO tovrin_message (uid, message, Cdate, Ctime, Meet, Avur, "
                                   "Hodaa, done, done_at, done_by, call_back, urgent) SELECT ?1, rowid, "
                                   "Cdate, Ctime, Meet, Avur, Hodaa, ?3, ?4, ?5, ?6, ?7 FROM tblMes WHERE "
                                   "rowid = ?2 ON CONFLICT (uid) DO UPDATE SET message = excluded.message, "
                                   "done = excluded.done, done_at = excluded.done_at, done_by = "
                                   "excluded.done_by, call_back = excluded.call_back, urgent = "
                                   "excluded.urgent"));
    state.bind(1, change.uid);
    state.bind(2, change.rowid);
    state.bind(3, values.value(5) == QLatin1String("1") ? 1 : 0);
    state.bind(4, orNull(values.value(6)));
    state.bind(5, orNull(values.value(7)));
    state.bind(6, values.value(8) == QLatin1String("1") ? 1 : 0);
    state.bind(7, values.value(9) == QLatin1String("1") ? 1 : 0);
    state.step();
    check();
}

} // namespace

const QStringList& TaskStore::columns()
{
    static const QStringList names{QStringLiteral("Cdate"),   QStringLiteral("Ctime"),   QStringLiteral("Meet"),
                                   QStringLiteral("Avur"),    QStringLiteral("Hodaa"),   QStringLiteral("done"),
                                   QStringLiteral("done_at"), QStringLiteral("done_by"), QStringLiteral("call_back"),
                                   QStringLiteral("urgent")};
    return names;
}

void TaskStore::prepare(Database& db)
{
    db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS tovrin_task_list (list TEXT PRIMARY KEY, token TEXT) WITHOUT "
                           "ROWID;"
                           "CREATE TABLE IF NOT EXISTS tovrin_task (list TEXT NOT NULL, href TEXT NOT NULL, etag TEXT, "
                           "task BLOB, uid TEXT, %1 TEXT, PRIMARY KEY (list, href)) WITHOUT ROWID")
                .arg(columns().join(QStringLiteral(" TEXT, "))));
}

QList<TaskStore::Message> TaskStore::messages(Database& db)
{
    QStringList values;
    for (const char* value : kMessageValues)
        values << QLatin1String(value);
    Statement select(db.handle(), QStringLiteral("SELECT m.rowid, s.uid, %1 FROM tblMes m LEFT JOIN tovrin_message s "
                                                 "ON %2 ORDER BY m.rowid")
                                      .arg(values.join(QStringLiteral(", ")), tied()));
    QList<Message> found;
    while (select.step()) {
        Message message{select.int64(0), select.value(1).toString(), {}};
        for (int i = 0; i < kCount; ++i)
            message.values << select.value(2 + i).toString();
        found.append(message);
    }
    return found;
}

QList<TaskStore::Task> TaskStore::tasks(Database& db, const QString& list)
{
    Statement select(db.handle(), QStringLiteral("SELECT href, etag, task, uid, %1 FROM tovrin_task WHERE list = ?")
                                      .arg(columns().join(QStringLiteral(", "))));
    select.bind(1, list);
    QList<Task> found;
    while (select.step()) {
        Task task{select.value(0).toString(),
                  ETag::fromStored(select.value(1).toString()),
                  select.value(2).toByteArray(),
                  select.value(3).toString(),
                  {}};
        if (!task.uid.isEmpty()) {
            for (int i = 0; i < kCount; ++i)
                task.agreed << select.value(4 + i).toString();
        }
        found.append(task);
    }
    return found;
}

QString TaskStore::token(Database& db, const QString& list)
{
    Statement select(db.handle(), QStringLiteral("SELECT token FROM tovrin_task_list WHERE list = ?"));
    select.bind(1, list);
    return select.step() ? select.value(0).toString() : QString();
}

QHash<QString, ETag> TaskStore::versions(Database& db, const QString& list)
{
    Statement select(db.handle(), QStringLiteral("SELECT href, etag FROM tovrin_task WHERE list = ?"));
    select.bind(1, list);
    QHash<QString, ETag> found;
    while (select.step())
        found.insert(select.value(0).toString(), ETag::fromStored(select.value(1).toString()));
    return found;
}

bool TaskStore::unknownVersions(Database& db, const QString& list)
{
    Statement select(db.handle(), QStringLiteral("SELECT 1 FROM tovrin_task WHERE list = ? AND etag = ?"));
    select.bind(1, list);
    select.bind(2, ETag::unknown().stored());
    return select.step();
}

bool TaskStore::settled(Database& db, const QString& list)
{
    // No task unconfirmed or whose message no longer holds its values, and as many messages as tasks that are
    // messages: a count rather than a search for each message.
    Statement select(db.handle(),
                     QStringLiteral("SELECT NOT EXISTS (SELECT 1 FROM tovrin_task t WHERE t.list = ?1 AND (t.etag IN "
                                    "(?2, ?3) OR (t.uid IS NOT NULL AND NOT EXISTS (SELECT 1 FROM tovrin_message s "
                                    "JOIN tblMes m ON %1 WHERE s.uid = t.uid AND %2)))) AND (SELECT count(*) FROM "
                                    "tovrin_task WHERE list = ?1 AND uid IS NOT NULL) = (SELECT count(*) FROM tblMes)")
                         .arg(tied(), holds(0, QStringLiteral("t"))));
    select.bind(1, list);
    select.bind(2, ETag().stored());
    select.bind(3, ETag::unknown().stored());
    return select.step() && select.value(0).toInt() == 1;
}

bool TaskStore::apply(Database& db, const QString& list, QList<MessageWrite>& writes, const QList<Task>& tasks,
                      const QStringList& droppedHrefs, const QString& token)
{
    try {
        db.transaction([&] {
            for (MessageWrite& change : writes)
                write(db, change);
            Statement store(db.handle(), QStringLiteral("INSERT OR REPLACE INTO tovrin_task (list, href, etag, task, "
                                                        "uid, %1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                             .arg(columns().join(QStringLiteral(", "))));
            for (const Task& task : tasks) {
                store.bind(1, list);
                store.bind(2, task.href);
                store.bind(3, task.etag.stored());
                store.bind(4, task.text);
                store.bind(5, orNull(task.uid));
                for (int i = 0; i < kCount; ++i)
                    store.bind(6 + i, task.uid.isEmpty() ? QVariant() : QVariant(task.agreed.value(i)));
                store.step();
                store.reset();
            }
            Statement drop(db.handle(), QStringLiteral("DELETE FROM tovrin_task WHERE list = ? AND href = ?"));
            for (const QString& href : droppedHrefs) {
                drop.bind(1, list);
                drop.bind(2, href);
                drop.step();
                drop.reset();
            }
            if (!token.isNull()) {
                Statement keep(db.handle(),
                               QStringLiteral("INSERT OR REPLACE INTO tovrin_task_list (list, token) VALUES (?, ?)"));
                keep.bind(1, list);
                keep.bind(2, token);
                keep.step();
            }
        });
    } catch (const Changed&) {
        return false;
    }
    return true;
}
