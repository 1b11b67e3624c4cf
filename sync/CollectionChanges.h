#pragma once

#include "data/ETag.h"
#include "sync/DavClient.h"
#include "sync/DavXml.h"

#include <QHash>
#include <QMap>
#include <QStringList>
#include <QUrl>
#include <functional>

struct SyncReport;

// What changed in one collection on the server (an address book, the task list) since the last sync: read with
// sync-collection from the stored token, or, where the server refuses that, by listing every member's ETag against
// the versions kept here. Both syncs read their collections through it.
class CollectionChanges
{
public:
    // The members with their new ETags, those gone, and the token that says so.
    struct Changes
    {
        QMap<QString, QString> changed; // href -> etag
        QStringList removed;
        QString token;
    };
    enum class Asked { Done, Refused, Failed };
    // A REPORT or PROPFIND (Depth 1) on the collection, its multistatus read as it comes.
    using Ask =
        std::function<DavXml::Multistatus(const QByteArray& method, const QByteArray& body, DavClient::Reply& reply)>;
    // Whether `href` is a member the sync may take; one that is not is reported by the sync, once.
    using Own = std::function<bool(const QString& href)>;
    // Puts a failed reply (not 2xx) into the report as the failure of `what`; false when the reply did not fail.
    using Failed = std::function<bool(const DavClient::Reply& reply, const QString& what)>;

    CollectionChanges(const QUrl& collection, Ask ask, Own own, Failed failed, SyncReport& report);

    // sync-collection from `token` (Refused: the server keeps no token or does not know this one).
    Asked since(QString token, Changes& changes) const;
    // Every member and its ETag, against `known` (the versions kept here); the token is then empty.
    bool listAll(const QHash<QString, ETag>& known, Changes& changes) const;

private:
    QUrl m_collection;
    Ask m_ask;
    Own m_own;
    Failed m_failed;
    SyncReport& m_report;
};
