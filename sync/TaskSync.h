#pragma once

#include "data/TaskStore.h"
#include "sync/CollectionChanges.h"
#include "sync/DavClient.h"
#include "sync/DavXml.h"
#include "sync/MergeRules.h"
#include "sync/SyncReport.h"
#include "sync/SyncRun.h"

#include <QHash>
#include <QMap>
#include <QSet>

class Database;

// One sync of the message log with its CalDAV task list, both ways, by the contact sync's rules (see SyncRun):
// what changed on the server since the stored token (sync-collection; a full listing of ETags where refused), the
// changed tasks fetched with calendar-multiget, merged part by part with what changed here (TaskRules) and written
// in one transaction with the new token. Then what changed here goes up: an edited message as its task with only
// the changed lines rewritten (PUT If-Match), a message new to the list as a new task (PUT If-None-Match: *; its
// state row, UID and task are kept in the file before it is sent, so a run that dies after sending finds it again),
// a deleted message as DELETE If-Match. After anything went up, the changes are read back once more.
//
// A pull that would delete many messages here asks first (MergeRules::asksFirst, the same Options as the contact
// sync: the task list's address in deleteHere or keepHere). Open messages a pull brings are named in the report's
// `arrived`.
class TaskSync
{
public:
    TaskSync(Database& db, DavClient& client, const QUrl& list, const SyncRun::Options& options, SyncReport& report);
    // Adds what it did to the report given.
    void run();

private:
    using Here = MergeRules::Here;
    struct Local
    {
        Here state = Here::NoEntry;
        TaskStore::Message message;
    };
    using Changes = CollectionChanges::Changes;
    using Fetched = QMap<QString, QPair<QString, QByteArray>>; // href -> etag, text
    struct Merge
    {
        QList<TaskStore::MessageWrite> writes;
        QList<TaskStore::Task> tasks;
        QStringList dropped;
        QList<int> arrived; // writes that bring an open message
    };

    bool pull();
    // Reads what changed in the task list on the server.
    CollectionChanges changesOfList();
    bool fetch(const QStringList& hrefs, Fetched& fetched, QStringList& gone);
    void readLocal();
    Local localOf(const TaskStore::Task& task) const;
    void mergeFetched(const Fetched& fetched, const QHash<QString, TaskStore::Task>& stored, Merge& merge);
    void mergeRemoved(const QStringList& removed, const QHash<QString, TaskStore::Task>& stored, Merge& merge);
    void take(const MergeRules::Merge& rule, const Local& local, TaskStore::Task task, Merge& merge);
    bool mayDelete(const Merge& merge, const QHash<QString, TaskStore::Task>& stored, const Changes& changes);
    void push();
    bool pushEdit(const TaskStore::Task& task, const Local& local);
    bool pushDeletion(const TaskStore::Task& task);
    bool pushNew(const QList<TaskStore::Message>& messages);
    bool store(QList<TaskStore::MessageWrite> writes, const QList<TaskStore::Task>& tasks,
               const QStringList& dropped = {}, const QString& token = QString(), const QList<int>& arrived = {});
    DavClient::Reply send(const QByteArray& method, const QString& href, const QByteArray& body,
                          const DavClient::Headers& headers);
    DavXml::Multistatus ask(const QByteArray& method, const QByteArray& body, DavClient::Reply& reply);
    bool failed(const DavClient::Reply& reply, const QString& what);
    void refused(const QString& what, const DavClient::Reply& reply);
    bool ownTask(const QString& href);
    void tell(qsizetype done, qsizetype total) const;

    Database& m_db;
    DavClient& m_client;
    QUrl m_list;
    QString m_key; // m_list as stored
    SyncRun::Options m_options;
    SyncReport& m_report;
    QHash<QString, TaskStore::Message> m_byUid;
    QList<TaskStore::Message> m_messages;
    QSet<QString> m_strangers;
    bool m_sentSomething = false;
    bool m_copied = false;
    static constexpr qsizetype kNewBatch = 100;
    static constexpr int kMultigetBatch = 100;
};
