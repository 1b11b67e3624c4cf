#include "sync/CollectionChanges.h"

#include "sync/MergeRules.h"
#include "sync/SyncReport.h"
#include "sync/SyncRun.h"

#include <QCoreApplication>
#include <QSet>

CollectionChanges::CollectionChanges(const QUrl& collection, Ask ask, Own own, Failed failed, SyncReport& report)
    : m_collection(collection), m_ask(std::move(ask)), m_own(std::move(own)), m_failed(std::move(failed)),
      m_report(report)
{
}

CollectionChanges::Asked CollectionChanges::since(QString token, Changes& changes) const
{
    const QString where = m_collection.toDisplayString();
    bool more = true;
    while (more) {
        more = false;
        DavClient::Reply reply;
        const DavXml::Multistatus answer = m_ask("REPORT", DavXml::syncCollection(token), reply);
        if (reply.status != 207) {
            // Some servers answer a token they no longer know with 500: the listing then tells a real failure.
            const bool staleToken = reply.status == 500 && !token.isEmpty();
            const MergeRules::Outcome outcome = MergeRules::classify(reply.status, false);
            if (!staleToken &&
                (outcome == MergeRules::Outcome::RetryLater || reply.status == 401 || reply.status == 404)) {
                m_failed(reply,
                         QCoreApplication::translate("CollectionChanges", "Reading the changes of %1").arg(where));
                return Asked::Failed;
            }
            // The token is refused (or the server keeps none).
            return Asked::Refused;
        }
        if (!answer.error.isEmpty()) {
            m_report.error = QCoreApplication::translate("CollectionChanges", "Reading the changes of %1: %2")
                                 .arg(where, answer.error);
            return Asked::Failed;
        }
        for (const DavXml::Response& response : answer.responses) {
            if (SyncRun::isSelf(m_collection, response.href)) {
                // 507 on the collection itself: the server sent part of the changes and a token for them.
                more = more || response.status == 507;
                continue;
            }
            if (!m_own(response.href))
                continue;
            if (response.status == 404) {
                changes.removed << response.href;
                changes.changed.remove(response.href);
            } else {
                changes.changed.insert(response.href, response.etag);
                changes.removed.removeAll(response.href);
            }
        }
        changes.token = answer.syncToken.isNull() ? QString() : answer.syncToken;
        more = more && !changes.token.isEmpty() && changes.token != token;
        token = changes.token;
    }
    return Asked::Done;
}

bool CollectionChanges::listAll(const QHash<QString, ETag>& known, Changes& changes) const
{
    const QString where = m_collection.toDisplayString();
    changes = Changes{{}, {}, QStringLiteral("")};
    DavClient::Reply reply;
    const DavXml::Multistatus answer = m_ask("PROPFIND", DavXml::propfind({QStringLiteral("getetag")}, {}), reply);
    if (m_failed(reply, QCoreApplication::translate("CollectionChanges", "Listing %1").arg(where)))
        return false;
    if (!answer.error.isEmpty()) {
        m_report.error = QCoreApplication::translate("CollectionChanges", "Listing %1: %2").arg(where, answer.error);
        return false;
    }
    QSet<QString> present;
    for (const DavXml::Response& response : answer.responses) {
        if (SyncRun::isSelf(m_collection, response.href) || response.status >= 300 || !m_own(response.href))
            continue;
        present.insert(response.href);
        if (!known.value(response.href).is(response.etag) || response.etag.isEmpty())
            changes.changed.insert(response.href, response.etag);
    }
    for (auto it = known.cbegin(); it != known.cend(); ++it) {
        if (!present.contains(it.key()))
            changes.removed << it.key();
    }
    return true;
}
