#include "sync/TaskSync.h"

#include "data/Backups.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "data/MessageLog.h"
#include "sync/MessageTask.h"
#include "sync/ServerText.h"
#include "sync/TaskRules.h"

#include <QCoreApplication>
#include <QUuid>

namespace {

using MergeRules::Outcome;
using MergeRules::Step;
using MergeRules::Then;
using Kind = TaskStore::MessageWrite::Kind;

const QPair<QByteArray, QByteArray> kCalendar{"Content-Type", "text/calendar; charset=utf-8"};

} // namespace

TaskSync::TaskSync(Database& db, DavClient& client, const QUrl& list, const SyncRun::Options& options,
                   SyncReport& report)
    : m_db(db), m_client(client), m_list(list), m_key(list.toString()), m_options(options), m_report(report)
{
}

void TaskSync::run()
{
    try {
        // Left alone by the windows' own syncs while the user chose to keep messages the server no longer has.
        const bool wasPaused = SyncRun::paused(m_db, m_key);
        if (wasPaused && m_options.leavePaused) {
            m_report.lines << QCoreApplication::translate(
                "TaskSync", "The sync of the message log is paused: \"Sync Now...\" asks again what to do with "
                            "the messages the server no longer lists.");
            return;
        }
        TaskStore::prepare(m_db);
        MessageLog::retie(m_db);
        if (!pull())
            return;
        if (wasPaused)
            SyncRun::setPaused(m_db, m_key, false);
        // What went up is read back as the server stored it; a task changed there meanwhile (412) is merged by
        // that read and sent once more.
        for (int round = 0; round < 2; ++round) {
            m_sentSomething = false;
            push();
            if (!m_sentSomething || !pull())
                break;
        }
    } catch (const DbError& error) {
        if (m_report.error.isEmpty())
            m_report.error = error.description();
    }
}

bool TaskSync::failed(const DavClient::Reply& reply, const QString& what)
{
    if (reply.status >= 200 && reply.status < 300)
        return false;
    const QString why =
        reply.explained(QCoreApplication::translate("TaskSync", "the task list is missing on the server (404)"));
    if (m_report.error.isEmpty())
        m_report.error = QStringLiteral("%1: %2").arg(what, why);
    return true;
}

void TaskSync::refused(const QString& what, const DavClient::Reply& reply)
{
    m_report.lines << QCoreApplication::translate("TaskSync", "The server refused %1 (%2%3).")
                          .arg(what)
                          .arg(reply.status)
                          .arg(reply.bodyLine());
}

bool TaskSync::ownTask(const QString& href)
{
    if (SyncRun::isInside(m_list, href))
        return true;
    if (!m_strangers.contains(href)) {
        m_strangers.insert(href);
        m_report.lines << QCoreApplication::translate(
                              "TaskSync",
                              "The server named %1, which is no task of %2: it was ignored, and nothing is sent to it.")
                              .arg(ServerText::shown(href), m_list.toDisplayString());
    }
    return false;
}

void TaskSync::tell(qsizetype done, qsizetype total) const
{
    if (m_options.progress)
        m_options.progress(QCoreApplication::translate("TaskSync", "Messages"), done, total);
}

DavXml::Multistatus TaskSync::ask(const QByteArray& method, const QByteArray& body, DavClient::Reply& reply)
{
    DavXml::Reader reader(m_options.cardBytes);
    reply = m_client.send(method, m_list, body, {{"Depth", "1"}},
                          [&reader](const QByteArray& bytes) { return reader.add(bytes); });
    return reader.finish(reply.url);
}

DavClient::Reply TaskSync::send(const QByteArray& method, const QString& href, const QByteArray& body,
                                const DavClient::Headers& headers)
{
    m_sentSomething = true;
    return m_client.send(method, m_list.resolved(QUrl::fromEncoded(href.toUtf8())), body, headers);
}

bool TaskSync::store(QList<TaskStore::MessageWrite> writes, const QList<TaskStore::Task>& tasks,
                     const QStringList& dropped, const QString& token, const QList<int>& arrived)
{
    if (!TaskStore::apply(m_db, m_key, writes, tasks, dropped, token)) {
        m_report.lines << QCoreApplication::translate(
            "TaskSync", "Messages were changed here during the sync; they go at the next sync.");
        return false;
    }
    for (const int i : arrived)
        m_report.arrived.append({writes[i].rowid, writes[i].values.value(2), writes[i].values.value(3)});
    return true;
}

CollectionChanges TaskSync::changesOfList()
{
    return CollectionChanges(
        m_list,
        [this](const QByteArray& method, const QByteArray& body, DavClient::Reply& reply) {
            return ask(method, body, reply);
        },
        [this](const QString& href) { return ownTask(href); },
        [this](const DavClient::Reply& reply, const QString& what) { return failed(reply, what); }, m_report);
}

bool TaskSync::fetch(const QStringList& hrefs, Fetched& fetched, QStringList& gone)
{
    if (!hrefs.isEmpty())
        tell(0, hrefs.size());
    for (qsizetype from = 0; from < hrefs.size(); from += kMultigetBatch) {
        DavClient::Reply reply;
        const DavXml::Multistatus answer = ask("REPORT", DavXml::taskMultiget(hrefs.mid(from, kMultigetBatch)), reply);
        if (failed(reply,
                   QCoreApplication::translate("TaskSync", "Reading the tasks of %1").arg(m_list.toDisplayString())))
            return false;
        if (!answer.error.isEmpty()) {
            m_report.error = QCoreApplication::translate("TaskSync", "Reading the tasks of %1: %2")
                                 .arg(m_list.toDisplayString(), answer.error);
            return false;
        }
        for (const DavXml::Response& response : answer.responses) {
            if (!ownTask(response.href))
                continue;
            QString problem = response.problem;
            if (problem.isEmpty() && response.status < 300 && !response.addressData.isEmpty() &&
                response.addressData.left(64).trimmed().left(15).toUpper() != "BEGIN:VCALENDAR")
                problem = QCoreApplication::translate("TaskSync", "it is no iCalendar text");
            if (!problem.isEmpty()) {
                // That task stays as it was here; every other one syncs.
                m_report.lines << QCoreApplication::translate("TaskSync", "The task %1 on the server was left out: %2.")
                                      .arg(ServerText::shown(response.href), problem);
            } else if (response.status == 404) {
                gone << response.href;
            } else if (response.status < 300 && !response.addressData.isEmpty()) {
                fetched.insert(response.href, {response.etag, response.addressData});
            }
        }
        tell(from + kMultigetBatch < hrefs.size() ? from + kMultigetBatch : hrefs.size(), hrefs.size());
    }
    return true;
}

void TaskSync::readLocal()
{
    m_messages = TaskStore::messages(m_db);
    m_byUid.clear();
    for (const TaskStore::Message& message : std::as_const(m_messages)) {
        if (!message.uid.isEmpty())
            m_byUid.insert(message.uid, message);
    }
}

TaskSync::Local TaskSync::localOf(const TaskStore::Task& task) const
{
    if (task.uid.isEmpty())
        return {};
    const auto found = m_byUid.constFind(task.uid);
    if (found == m_byUid.cend())
        return {Here::Deleted, {}};
    return {found->values == task.agreed ? Here::Unchanged : Here::Edited, *found};
}

void TaskSync::take(const MergeRules::Merge& rule, const Local& local, TaskStore::Task task, Merge& merge)
{
    using Row = MergeRules::Merge::Row;
    using Fate = MergeRules::Merge::Card;
    m_report.lines << rule.lines;
    const TaskStore::Message& here = local.message;
    switch (rule.row) {
    case Row::Keep:
        break;
    case Row::Insert:
        if (rule.values.value(5) != QLatin1String("1"))
            merge.arrived << int(merge.writes.size());
        merge.writes.append({Kind::Insert, -1, task.uid, {}, rule.values});
        ++m_report.received;
        break;
    case Row::Update:
        if (here.values.value(5) == QLatin1String("1") && rule.values.value(5) != QLatin1String("1"))
            merge.arrived << int(merge.writes.size());
        merge.writes.append({Kind::Update, here.rowid, here.uid, here.values, rule.values});
        ++m_report.received;
        break;
    case Row::Delete:
        merge.writes.append({Kind::Delete, here.rowid, here.uid, here.values, {}});
        ++m_report.removedHere;
        break;
    }
    switch (rule.card) {
    case Fate::Forget:
        merge.dropped << task.href;
        return;
    case Fate::CreateAgain:
        task.etag = ETag();
        break;
    case Fate::Kept:
    case Fate::Server:
        break;
    }
    merge.tasks.append(task);
}

void TaskSync::mergeFetched(const Fetched& fetched, const QHash<QString, TaskStore::Task>& stored, Merge& merge)
{
    QSet<QString> tiedUids;
    for (const TaskStore::Task& task : stored)
        tiedUids.insert(task.uid);
    for (auto it = fetched.cbegin(); it != fetched.cend(); ++it) {
        const MessageTask serverTask(it.value().second);
        const std::optional<MessageTask::Message> meant = serverTask.message();
        QString uid = meant ? meant->uid : QString();
        if (meant && uid.isEmpty())
            uid = it.key().section(QLatin1Char('/'), -1);
        const QStringList server = meant ? TaskRules::valuesOf(*meant) : QStringList();
        const TaskStore::Task task{it.key(), ETag::of(it.value().first), serverTask.text(), uid, server};
        const auto known = stored.constFind(it.key());
        if (known != stored.cend() && known->text == task.text) {
            // The task as kept here, read again for its version: nothing changed there.
            TaskStore::Task confirmed = *known;
            confirmed.etag = task.etag;
            merge.tasks.append(confirmed);
            continue;
        }
        Local local = known != stored.cend() ? localOf(*known) : Local{};
        QStringList agreed = known != stored.cend() ? known->agreed : QStringList();
        if (local.state == Here::NoEntry && meant && !tiedUids.contains(uid) && m_byUid.contains(uid)) {
            // A message of this file under the same UID (a copy of one file on two desks): what differs here goes
            // up, the rest is the server's.
            local = {Here::Edited, m_byUid.value(uid)};
            agreed = server;
            tiedUids.insert(uid);
        }
        MergeRules::Merge rule =
            TaskRules::merge(agreed, local.state, local.message.values,
                             meant ? MergeRules::There::Changed : MergeRules::There::Blank, server);
        if (m_options.keepHere.contains(m_key))
            rule = MergeRules::keptHere(rule);
        take(rule, local, rule.card == MergeRules::Merge::Card::Server ? task : *known, merge);
    }
}

void TaskSync::mergeRemoved(const QStringList& removed, const QHash<QString, TaskStore::Task>& stored, Merge& merge)
{
    for (const QString& href : removed) {
        const auto known = stored.constFind(href);
        if (known == stored.cend())
            continue;
        const Local local = localOf(*known);
        MergeRules::Merge rule =
            TaskRules::merge(known->agreed, local.state, local.message.values, MergeRules::There::Gone, {});
        if (m_options.keepHere.contains(m_key))
            rule = MergeRules::keptHere(rule);
        take(rule, local, *known, merge);
    }
}

bool TaskSync::mayDelete(const Merge& merge, const QHash<QString, TaskStore::Task>& stored, const Changes& changes)
{
    int deletions = 0;
    for (const TaskStore::MessageWrite& write : merge.writes)
        deletions += write.kind == Kind::Delete ? 1 : 0;
    if (deletions == 0)
        return true;
    int synced = 0;
    QSet<QString> listed;
    for (const TaskStore::Task& task : stored) {
        synced += task.uid.isEmpty() ? 0 : 1;
        listed.insert(task.href);
    }
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it)
        listed.insert(it.key());
    for (const QString& href : changes.removed)
        listed.remove(href);
    const bool force = m_options.forceDelete || m_options.deleteHere.contains(m_key);
    if (!force && MergeRules::asksFirst(deletions, synced, listed.isEmpty())) {
        m_report.held.append({m_key, QCoreApplication::translate("TaskSync", "the message log"), deletions});
        return false;
    }
    if (!m_copied) {
        Backups::make(m_db.path(), QDateTime::currentDateTime(), QStringLiteral("before sync"));
        m_copied = true;
    }
    return true;
}

bool TaskSync::pull()
{
    const CollectionChanges server = changesOfList();
    Changes changes;
    switch (server.since(TaskStore::token(m_db, m_key), changes)) {
    case CollectionChanges::Asked::Failed:
        return false;
    case CollectionChanges::Asked::Refused:
        if (!server.listAll(TaskStore::versions(m_db, m_key), changes))
            return false;
        break;
    case CollectionChanges::Asked::Done:
        break;
    }
    // Nothing changed there and nothing here waits to be read again: no task kept here is read.
    const QString token = changes.token.isNull() ? QStringLiteral("") : changes.token;
    if (changes.changed.isEmpty() && changes.removed.isEmpty() && !TaskStore::unknownVersions(m_db, m_key))
        return token == TaskStore::token(m_db, m_key) || store({}, {}, {}, token);

    QHash<QString, TaskStore::Task> stored;
    for (const TaskStore::Task& task : TaskStore::tasks(m_db, m_key))
        stored.insert(task.href, task);
    QStringList wanted;
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it) {
        if (!stored.contains(it.key()) || !stored[it.key()].etag.is(it.value()) || it.value().isEmpty())
            wanted << it.key();
    }
    for (const TaskStore::Task& task : std::as_const(stored)) {
        if (task.etag.state() == ETag::State::Unknown && !changes.changed.contains(task.href) &&
            !changes.removed.contains(task.href))
            wanted << task.href;
    }
    Fetched fetched;
    if (!fetch(wanted, fetched, changes.removed))
        return false;

    readLocal();
    Merge merge;
    const int received = m_report.received;
    const int removedHere = m_report.removedHere;
    mergeFetched(fetched, stored, merge);
    mergeRemoved(changes.removed, stored, merge);
    if (!mayDelete(merge, stored, changes)) {
        m_report.received = received;
        m_report.removedHere = removedHere;
        return false;
    }
    return store(merge.writes, merge.tasks, merge.dropped, token, merge.arrived);
}

bool TaskSync::pushEdit(const TaskStore::Task& task, const Local& local)
{
    const QByteArray body = local.state == Here::Edited
                                ? MessageTask(task.text).patched(TaskRules::messageOf(local.message.values, task.uid),
                                                                 QDateTime::currentDateTime())
                                : task.text;
    DavClient::Headers headers{kCalendar};
    headers.append(task.etag.isKnown() ? QPair<QByteArray, QByteArray>("If-Match", task.etag.value().toUtf8())
                                       : QPair<QByteArray, QByteArray>("If-None-Match", "*"));
    const DavClient::Reply reply = send("PUT", task.href, body, headers);
    TaskStore::Task next = task;
    switch (MergeRules::after(Step::Edit, MergeRules::classify(reply.status, true), task.etag.state())) {
    case Then::Confirmed:
        ++m_report.sent;
        next.text = body;
        next.etag = ETag::of(reply.etag);
        next.agreed = local.message.values;
        return store({}, {next});
    case Then::ReadAgain:
        next.etag = ETag::unknown(); // changed there meanwhile: the next pull merges it
        return store({}, {next});
    case Then::CreateAgain:
        next.etag = ETag();
        return store({}, {next});
    case Then::Stop:
        failed(reply,
               QCoreApplication::translate("TaskSync", "Sending %1").arg(TaskRules::nameOf(local.message.values)));
        return false;
    case Then::Refused:
    case Then::Forget:
        refused(TaskRules::nameOf(local.message.values), reply);
        break;
    }
    return true;
}

bool TaskSync::pushDeletion(const TaskStore::Task& task)
{
    // A task not yet confirmed has no version to name: whatever the server holds under its name is ours.
    const DavClient::Reply reply =
        send("DELETE", task.href, {}, {{"If-Match", task.etag.isKnown() ? task.etag.value().toUtf8() : "*"}});
    const Outcome outcome = MergeRules::classify(reply.status, true);
    switch (MergeRules::after(Step::Delete, outcome, task.etag.state())) {
    case Then::Forget:
        if (outcome == Outcome::Done)
            ++m_report.removedThere;
        return store({}, {}, {task.href});
    case Then::ReadAgain: {
        TaskStore::Task again = task;
        again.etag = ETag::unknown();
        return store({}, {again});
    }
    case Then::Stop:
        failed(reply, QCoreApplication::translate("TaskSync", "Deleting %1").arg(TaskRules::nameOf(task.agreed)));
        return false;
    default:
        refused(TaskRules::nameOf(task.agreed), reply);
        return true;
    }
}

bool TaskSync::pushNew(const QList<TaskStore::Message>& messages)
{
    // Each message's state row, UID and task are kept before the task is sent, a batch at a time: a run that dies
    // now sends these tasks again instead of second ones.
    if (!messages.isEmpty())
        tell(0, messages.size());
    QString folder = m_list.path(QUrl::FullyEncoded);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QDateTime now = QDateTime::currentDateTime();
    for (qsizetype from = 0; from < messages.size(); from += kNewBatch) {
        QList<TaskStore::MessageWrite> claims;
        QList<TaskStore::Task> batch;
        for (const TaskStore::Message& message : messages.mid(from, kNewBatch)) {
            const QString uid =
                message.uid.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : message.uid;
            if (message.uid.isEmpty())
                claims.append({Kind::Claim, message.rowid, uid, message.values, {}});
            batch.append({folder + QString::fromLatin1(QUrl::toPercentEncoding(uid)) + QStringLiteral(".ics"), ETag(),
                          MessageTask::created(TaskRules::messageOf(message.values, uid), now), uid, message.values});
        }
        if (!store(claims, batch))
            return false;
        QList<TaskStore::Task> confirmed;
        QStringList dropped;
        for (TaskStore::Task& task : batch) {
            const DavClient::Reply reply = send("PUT", task.href, task.text, {kCalendar, {"If-None-Match", "*"}});
            const Then then =
                MergeRules::after(Step::Create, MergeRules::classify(reply.status, true), ETag::State::New);
            if (then == Then::Stop) {
                store({}, confirmed);
                failed(reply,
                       QCoreApplication::translate("TaskSync", "Sending %1").arg(TaskRules::nameOf(task.agreed)));
                return false;
            }
            if (then == Then::Confirmed) {
                ++m_report.sent;
                task.etag = ETag::of(reply.etag);
                confirmed << task;
            } else {
                // Refused: the message keeps its UID, and its task is tried again at the next sync.
                dropped << task.href;
                refused(TaskRules::nameOf(task.agreed), reply);
            }
        }
        store({}, confirmed, dropped);
        tell(from + batch.size(), messages.size());
    }
    return true;
}

void TaskSync::push()
{
    // Nothing changed here since the last agreement: no task kept here is read.
    if (TaskStore::settled(m_db, m_key))
        return;
    readLocal();
    QSet<QString> uids;
    for (const TaskStore::Task& task : TaskStore::tasks(m_db, m_key)) {
        uids.insert(task.uid);
        if (task.uid.isEmpty() || !ownTask(task.href))
            continue;
        const Local local = localOf(task);
        bool goOn = true;
        switch (MergeRules::step(local.state, true, task.etag.state())) {
        case Step::Edit:
            goOn = pushEdit(task, local);
            break;
        case Step::Delete:
            goOn = pushDeletion(task);
            break;
        default:
            break;
        }
        if (!goOn)
            return;
    }
    QList<TaskStore::Message> fresh;
    for (const TaskStore::Message& message : std::as_const(m_messages)) {
        if (message.uid.isEmpty() || !uids.contains(message.uid))
            fresh << message;
    }
    pushNew(fresh);
}
