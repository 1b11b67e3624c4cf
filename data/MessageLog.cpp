#include "data/MessageLog.h"

#include "data/Columns.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "data/Statement.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>
#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

constexpr const char* kValues[] = {"Cdate", "Ctime", "Meet", "Avur", "Hodaa"};

// The state row `s` was last seen with the values the message row `m` holds now, compared byte for byte whatever
// type a tool gave them.
QString sameValues(const QString& s, const QString& m)
{
    QStringList tests;
    for (const char* column : kValues)
        tests << QStringLiteral("%1.%3 IS %2.%3 COLLATE BINARY").arg(s, m, QLatin1String(column));
    return tests.join(QStringLiteral(" AND "));
}

// The digits of a number as stored ("503 - 5550000"), by SQLite's own functions.
QString digitsOf(const QString& column)
{
    QString expression = QStringLiteral("coalesce(%1, '')").arg(column);
    for (const char* mark : {" ", "-", "_", "(", ")", "+", ".", "/"})
        expression = QStringLiteral("replace(%1, '%2', '')").arg(expression, QLatin1String(mark));
    return expression;
}

// The columns of an entry's telephone numbers, in the order the entry window shows them.
constexpr const Columns::Column* kNumberColumns[] = {&Columns::of(&Contact::tel1), &Columns::of(&Contact::tel2),
                                                     &Columns::of(&Contact::pel), &Columns::of(&Contact::fax)};

} // namespace

QString MessageLog::doneCondition()
{
    return QStringLiteral("EXISTS (SELECT 1 FROM tovrin_message s WHERE s.message = tblMes.rowid AND s.done = 1 AND "
                          "%1)")
        .arg(sameValues(QStringLiteral("s"), QStringLiteral("tblMes")));
}

bool MessageLog::kept(Database& db)
{
    return Statement::scalar(db.handle(),
                             "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'tovrin_message'",
                             0) == 1;
}

void MessageLog::retie(Database& db)
{
    if (db.isReadOnly() || !kept(db))
        return;
    const QString stale = QStringLiteral("SELECT s.rowid FROM tovrin_message s WHERE NOT EXISTS (SELECT 1 FROM tblMes "
                                         "m WHERE m.rowid = s.message AND %1)")
                              .arg(sameValues(QStringLiteral("s"), QStringLiteral("m")));
    try {
        Statement any(db.handle(), stale + QStringLiteral(" LIMIT 1"));
        if (!any.step())
            return;
        any.reset();
        db.transaction([&] {
            // Each state takes a message holding its values that no other state holds yet; equal messages are
            // told apart by their order.
            Statement find(db.handle(), QStringLiteral("UPDATE tovrin_message SET message = (SELECT m.rowid FROM "
                                                       "tblMes m, tovrin_message s WHERE s.rowid = ?1 AND %1 AND NOT "
                                                       "EXISTS (SELECT 1 FROM tovrin_message t WHERE t.message = "
                                                       "m.rowid AND %2) ORDER BY m.rowid LIMIT 1) WHERE rowid = ?1")
                                            .arg(sameValues(QStringLiteral("s"), QStringLiteral("m")),
                                                 sameValues(QStringLiteral("t"), QStringLiteral("m"))));
            Statement list(db.handle(), stale);
            QList<qint64> rows;
            while (list.step())
                rows << list.int64(0);
            list.reset();
            for (qint64 row : std::as_const(rows)) {
                find.bind(1, row);
                find.step();
                find.reset();
            }
            // What found no message was deleted where no trigger heard of it.
            db.exec(QStringLiteral("DELETE FROM tovrin_message WHERE message IS NULL"));
        });
    } catch (const DbError& error) {
        if (!error.isBusy() && (error.number() & 0xff) != SQLITE_READONLY)
            throw;
    }
}

QHash<qint64, MessageLog::State> MessageLog::states(Database& db)
{
    QHash<qint64, State> found;
    if (!kept(db))
        return found;
    Statement select(db.handle(), QStringLiteral("SELECT m.rowid, s.uid, s.done, s.done_at, s.done_by, s.call_back, "
                                                 "s.urgent FROM tovrin_message s JOIN tblMes m ON m.rowid = s.message "
                                                 "AND %1")
                                      .arg(sameValues(QStringLiteral("s"), QStringLiteral("m"))));
    while (select.step()) {
        State state;
        state.uid = select.value(1).toString();
        state.done = select.int64(2) != 0;
        state.doneAt = select.value(3).toString();
        state.doneBy = select.value(4).toString();
        state.callBack = select.int64(5) != 0;
        state.urgent = select.int64(6) != 0;
        found.insert(select.int64(0), state);
    }
    return found;
}

void MessageLog::mark(Database& db, const QList<qint64>& messages, Mark mark, bool on, const QString& by,
                      const QDateTime& at)
{
    db.transaction([&] {
        Statement tied(db.handle(),
                       QStringLiteral("SELECT s.rowid FROM tovrin_message s JOIN tblMes m ON m.rowid = s.message AND "
                                      "%1 WHERE m.rowid = ?")
                           .arg(sameValues(QStringLiteral("s"), QStringLiteral("m"))));
        Statement create(db.handle(), QStringLiteral("INSERT INTO tovrin_message (uid, message, Cdate, Ctime, Meet, "
                                                     "Avur, Hodaa) SELECT ?, rowid, Cdate, Ctime, Meet, Avur, Hodaa "
                                                     "FROM tblMes WHERE rowid = ?"));
        const QString set = mark == Mark::Done       ? QStringLiteral("done = ?2, done_at = ?3, done_by = ?4")
                            : mark == Mark::CallBack ? QStringLiteral("call_back = ?2")
                                                     : QStringLiteral("urgent = ?2");
        Statement update(db.handle(), QStringLiteral("UPDATE tovrin_message SET %1 WHERE rowid = ?1").arg(set));
        for (const qint64 message : messages) {
            tied.bind(1, message);
            qint64 state = tied.step() ? tied.int64(0) : -1;
            tied.reset();
            if (state < 0) {
                create.bind(1, QUuid::createUuid().toString(QUuid::WithoutBraces));
                create.bind(2, message);
                create.step();
                create.reset();
                if (sqlite3_changes(db.handle()) == 0)
                    throw DbError(DbError::ChangedElsewhere,
                                  QCoreApplication::translate("MessageLog", "The message was deleted elsewhere since "
                                                                            "the log showed it; nothing was changed."));
                state = sqlite3_last_insert_rowid(db.handle());
            }
            update.bind(1, state);
            update.bind(2, on ? 1 : 0);
            if (mark == Mark::Done) {
                update.bind(3,
                            on ? QVariant(at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODate)) : QVariant());
                update.bind(4, on ? QVariant(by) : QVariant());
            }
            update.step();
            update.reset();
        }
    });
}

QString MessageLog::deskUser()
{
    QString user;
    if (const passwd* entry = getpwuid(getuid()))
        user = QString::fromLocal8Bit(entry->pw_name);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    const QString desk = QSysInfo::machineHostName();
    return desk.isEmpty() ? user : QStringLiteral("%1@%2").arg(user, desk);
}

QStringList MessageLog::people(Database& db)
{
    Statement select(db.handle(), QStringLiteral("SELECT Avur FROM tblMes WHERE trim(coalesce(Avur, '')) <> '' "
                                                 "GROUP BY Avur ORDER BY Avur"));
    QStringList names;
    while (select.step())
        names << select.value(0).toString();
    return names;
}

QList<MessageLog::Caller> MessageLog::callers(Database& db, const QString& from)
{
    QString digits;
    for (const QChar ch : from) {
        if (ch.isDigit() && ch.unicode() < 128)
            digits += ch;
    }
    QString name = from;
    name.remove(QRegularExpression(QStringLiteral("[0-9()+\\-/.,:;]")));
    name = name.simplified();
    if (digits.size() < 3 && name.isEmpty())
        return {};
    QStringList numberTests;
    for (const Columns::Column* column : kNumberColumns)
        numberTests << QStringLiteral("%1 = ?1").arg(digitsOf(column->columnName()));
    Statement select(
        db.handle(),
        QStringLiteral("SELECT rowid, Category, Fname, Lname, BusName, Tel1, Tel2, Pel, Fax FROM tblTel WHERE "
                       "(length(?1) >= 3 AND (%1)) OR (?2 <> '' AND (trim(coalesce(Fname, '')) || ' ' || "
                       "trim(coalesce(Lname, '')) = ?2 COLLATE NOCASE OR trim(coalesce(Lname, '')) || ' ' || "
                       "trim(coalesce(Fname, '')) = ?2 COLLATE NOCASE OR trim(coalesce(Lname, '')) = ?2 COLLATE "
                       "NOCASE OR trim(coalesce(BusName, '')) = ?2 COLLATE NOCASE)) ORDER BY rowid LIMIT 5")
            .arg(numberTests.join(QStringLiteral(" OR "))));
    select.bind(1, digits);
    select.bind(2, name);
    QList<Caller> found;
    while (select.step()) {
        Caller caller;
        caller.entry = select.int64(0);
        caller.book = select.value(1).toString();
        const QString business = select.value(4).toString().trimmed();
        const QString person = QStringList{select.value(2).toString().trimmed(), select.value(3).toString().trimmed()}
                                   .join(QLatin1Char(' '))
                                   .trimmed();
        caller.name = person.isEmpty()     ? business
                      : business.isEmpty() ? person
                                           : QStringLiteral("%1, %2").arg(person, business);
        for (int i = 0; i < 4; ++i) {
            const QString number = select.value(5 + i).toString();
            if (number.contains(QRegularExpression(QStringLiteral("[0-9]"))))
                caller.numbers.append({Columns::writtenOut(*kNumberColumns[i]), number});
        }
        found.append(caller);
    }
    return found;
}
