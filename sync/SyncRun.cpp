#include "SyncRun.h"

#include "Book.h"
#include "Contact.h"
#include "Database.h"
#include "DavXml.h"
#include "DbError.h"
#include "ServerCard.h"

#include <QUuid>

namespace {

constexpr int kMultigetBatch = 100;

QString nameOf(const QStringList& v)
{
    if (v.size() < 12)
        return QStringLiteral("(an entry)");
    const QString person = (v[1].trimmed() + QLatin1Char(' ') + v[2].trimmed()).trimmed();
    const QString name = v[0] == ::Book::Business.name() && !v[3].trimmed().isEmpty() ? v[3].trimmed() : person;
    return QStringLiteral("\"%1\"").arg(name.isEmpty() ? v[10].trimmed() : name);
}

QString key(const QString& book, const QString& href)
{
    return book + QLatin1Char('\n') + href;
}

QString bodyLine(const QByteArray& body)
{
    QString text = QString::fromUtf8(body.left(200)).simplified();
    return text.isEmpty() ? QString() : QStringLiteral(": ") + text;
}

} // namespace

SyncRun::SyncRun(Database& db, DavClient& client, const SyncSettings& settings) : m_db(db), m_client(client)
{
    if (settings.personal == settings.business) {
        m_books.append({settings.personal, settings.personal.toString(), QString()});
    } else {
        m_books.append({settings.personal, settings.personal.toString(), QStringLiteral("Personal")});
        m_books.append({settings.business, settings.business.toString(), QStringLiteral("Business")});
    }
}

SyncReport SyncRun::run()
{
    try {
        SyncStore::prepare(m_db);
        for (const Book& book : m_books) {
            if (!pull(book))
                continue;
            // What went up is read back as the server stored it, with the token that covers it; a card changed
            // there meanwhile (412) is merged by that read and sent once more.
            for (int round = 0; round < 2; ++round) {
                m_sentSomething = false;
                push(book);
                if (!m_sentSomething || !pull(book))
                    break;
            }
        }
    } catch (const DbError& error) {
        m_report.error = error.description();
    }
    return m_report;
}

QString SyncRun::newHref(const Book& book) const
{
    QString path = book.url.path(QUrl::FullyEncoded);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".vcf");
}

QUrl SyncRun::urlOf(const Book& book, const QString& href) const
{
    return book.url.resolved(QUrl::fromEncoded(href.toUtf8()));
}

bool SyncRun::failed(const DavClient::Reply& reply, const QString& what)
{
    if (reply.status >= 200 && reply.status < 300)
        return false;
    QString why;
    if (reply.status == 0)
        why = reply.error;
    else if (reply.status == 401)
        why = QStringLiteral("the server refused the user name or password (401)");
    else if (reply.status == 403)
        why = QStringLiteral("the server does not allow it (403)");
    else if (reply.status == 404)
        why = QStringLiteral("the address book is missing on the server (404)");
    else
        why = QStringLiteral("the server answered %1%2").arg(reply.status).arg(bodyLine(reply.body));
    if (m_report.error.isEmpty())
        m_report.error = QStringLiteral("%1: %2").arg(what, why);
    return true;
}

bool SyncRun::belongs(const QStringList& values, const Book& book) const
{
    return book.forced.isEmpty() || (values.size() > 0 && values[0] == book.forced);
}

void SyncRun::match()
{
    m_local.clear();
    m_new.clear();
    const QList<SyncStore::Entry> rows = SyncStore::entries(m_db);
    QHash<qint64, int> byRowid;
    QMultiHash<QStringList, int> byValues;
    for (int i = 0; i < rows.size(); ++i) {
        byRowid.insert(rows[i].rowid, i);
        byValues.insert(rows[i].values, i);
    }
    QList<bool> claimed(rows.size(), false);
    struct Pending
    {
        QString key;
        SyncStore::Card card;
    };
    QList<Pending> cards;
    for (const Book& book : m_books) {
        for (const SyncStore::Card& card : SyncStore::cards(m_db, book.key))
            cards.append({key(book.key, card.href), card});
    }
    // At its rowid holding the agreed values; elsewhere holding them (a VACUUM renumbered); at its rowid holding
    // others (edited here). A card found nowhere was deleted here.
    for (int pass = 0; pass < 3; ++pass) {
        for (const Pending& pending : cards) {
            const SyncStore::Card& card = pending.card;
            if (m_local.contains(pending.key))
                continue;
            if (card.entry < 0) {
                m_local.insert(pending.key, {State::NoEntry, {}});
                continue;
            }
            int found = -1;
            if (pass == 0 || pass == 2) {
                const int at = byRowid.value(card.entry, -1);
                if (at >= 0 && !claimed[at] && (pass == 2 || rows[at].values == card.agreed))
                    found = at;
            } else {
                for (auto it = byValues.find(card.agreed); it != byValues.end() && it.key() == card.agreed; ++it) {
                    if (!claimed[it.value()]) {
                        found = it.value();
                        break;
                    }
                }
            }
            if (found < 0)
                continue;
            claimed[found] = true;
            m_local.insert(pending.key,
                           {rows[found].values == card.agreed ? State::Unchanged : State::Edited, rows[found]});
        }
    }
    for (const Pending& pending : cards) {
        if (!m_local.contains(pending.key))
            m_local.insert(pending.key, {State::Deleted, {}});
    }
    for (int i = 0; i < rows.size(); ++i) {
        if (!claimed[i])
            m_new.append(rows[i]);
    }
}

SyncRun::Local SyncRun::localOf(const SyncStore::Card& card) const
{
    return m_local.value(key(card.book, card.href));
}

QStringList SyncRun::merged(const QStringList& agreed, const QStringList& local, const QStringList& server,
                            const QString& name)
{
    QStringList result = server;
    for (int i = 0; i < server.size() && i < local.size(); ++i) {
        const QString a = i < agreed.size() ? agreed[i] : QString();
        if (local[i] == a || local[i] == server[i])
            continue;
        if (server[i] == a) {
            result[i] = local[i];
            continue;
        }
        m_report.lines << QStringLiteral("%1: %2 was changed here to \"%3\" and on the server to \"%4\"; the server's "
                                         "value was kept.")
                              .arg(name, SyncStore::columns().at(i), local[i].trimmed(), server[i].trimmed());
    }
    return result;
}

bool SyncRun::fetch(const Book& book, const QStringList& hrefs, QMap<QString, QPair<QString, QByteArray>>& cards,
                    QStringList& gone)
{
    for (qsizetype from = 0; from < hrefs.size(); from += kMultigetBatch) {
        const QStringList batch = hrefs.mid(from, kMultigetBatch);
        const DavClient::Reply reply = m_client.send("REPORT", book.url, DavXml::multiget(batch), {{"Depth", "1"}});
        if (failed(reply, QStringLiteral("Reading the cards of %1").arg(book.url.toDisplayString())))
            return false;
        const DavXml::Multistatus answer = DavXml::parse(reply.body, reply.url);
        if (!answer.error.isEmpty()) {
            m_report.error =
                QStringLiteral("Reading the cards of %1: %2").arg(book.url.toDisplayString(), answer.error);
            return false;
        }
        for (const DavXml::Response& response : answer.responses) {
            if (response.status == 404)
                gone << response.href;
            else if (response.status < 300 && !response.addressData.isEmpty())
                cards.insert(response.href, {response.etag, response.addressData});
        }
    }
    return true;
}

bool SyncRun::store(const Book& book, const QList<SyncStore::EntryWrite>& writes, const QList<SyncStore::Card>& cards,
                    const QStringList& dropped, const QString& token)
{
    if (SyncStore::apply(m_db, book.key, writes, cards, dropped, token))
        return true;
    m_report.lines << QStringLiteral("Entries were changed here during the sync; they go at the next sync.");
    return false;
}

bool SyncRun::isSelf(const Book& book, const QString& href)
{
    const QString self = book.url.path(QUrl::FullyEncoded);
    return href == self || href + QLatin1Char('/') == self || href == self + QLatin1Char('/');
}

SyncRun::Asked SyncRun::changesSince(const Book& book, Changes& changes)
{
    const QString where = book.url.toDisplayString();
    bool more = true;
    QString token = SyncStore::token(m_db, book.key);
    while (more) {
        more = false;
        const DavClient::Reply reply =
            m_client.send("REPORT", book.url, DavXml::syncCollection(token), {{"Depth", "1"}});
        if (reply.status != 207) {
            // Some servers answer a token they no longer know with 500: the listing then tells a real failure.
            const bool staleToken = reply.status == 500 && !token.isEmpty();
            if (!staleToken &&
                (reply.status == 401 || reply.status == 404 || reply.status == 0 || reply.status >= 500)) {
                failed(reply, QStringLiteral("Reading the changes of %1").arg(where));
                return Asked::Failed;
            }
            // The token is refused (or the server keeps none).
            return Asked::Refused;
        }
        const DavXml::Multistatus answer = DavXml::parse(reply.body, reply.url);
        if (!answer.error.isEmpty()) {
            m_report.error = QStringLiteral("Reading the changes of %1: %2").arg(where, answer.error);
            return Asked::Failed;
        }
        for (const DavXml::Response& response : answer.responses) {
            if (isSelf(book, response.href)) {
                // 507 on the address book itself: the server sent part of the changes and a token for them.
                if (response.status == 507)
                    more = true;
                continue;
            }
            if (response.status == 404) {
                changes.removed << response.href;
                changes.changed.remove(response.href);
            } else {
                changes.changed.insert(response.href, response.etag);
                changes.removed.removeAll(response.href);
            }
        }
        changes.token = answer.syncToken.isNull() ? QString() : answer.syncToken;
        if (more && (changes.token.isEmpty() || changes.token == token))
            more = false;
        token = changes.token;
    }
    return Asked::Done;
}

bool SyncRun::listAll(const Book& book, Changes& changes)
{
    const QString where = book.url.toDisplayString();
    changes = Changes{{}, {}, QStringLiteral("")};
    const DavClient::Reply reply =
        m_client.send("PROPFIND", book.url, DavXml::propfind({QStringLiteral("getetag")}, {}), {{"Depth", "1"}});
    if (failed(reply, QStringLiteral("Listing %1").arg(where)))
        return false;
    const DavXml::Multistatus answer = DavXml::parse(reply.body, reply.url);
    if (!answer.error.isEmpty()) {
        m_report.error = QStringLiteral("Listing %1: %2").arg(where, answer.error);
        return false;
    }
    QHash<QString, QString> known;
    for (const SyncStore::Card& card : SyncStore::cards(m_db, book.key))
        known.insert(card.href, card.etag);
    QSet<QString> present;
    for (const DavXml::Response& response : answer.responses) {
        if (isSelf(book, response.href) || response.status >= 300)
            continue;
        present.insert(response.href);
        if (known.value(response.href) != response.etag || response.etag.isEmpty())
            changes.changed.insert(response.href, response.etag);
    }
    for (auto it = known.cbegin(); it != known.cend(); ++it) {
        if (!present.contains(it.key()))
            changes.removed << it.key();
    }
    return true;
}

void SyncRun::mergeFetched(const Book& book, const QMap<QString, QPair<QString, QByteArray>>& fetched,
                           const QHash<QString, SyncStore::Card>& stored, Merge& merge)
{
    for (auto it = fetched.cbegin(); it != fetched.cend(); ++it) {
        const ServerCard serverCard(it.value().second);
        const std::optional<Contact> entry = serverCard.entry(book.forced);
        SyncStore::Card card{book.key, it.key(), it.value().first, serverCard.text(), -1, {}};
        const QStringList server = entry ? entry->values() : QStringList();
        if (entry)
            card.agreed = server;
        const bool known = stored.contains(it.key());
        const Local local = known ? localOf(stored[it.key()]) : Local{};
        const QStringList agreed = known ? stored[it.key()].agreed : QStringList();
        const QString name = nameOf(local.state == State::Edited ? local.row.values : server);
        if (!entry) {
            // A card without name or number is kept, not shown; an entry it was is deleted here.
            if (known && local.state == State::Unchanged) {
                merge.writes.append({SyncStore::EntryWrite::Kind::Delete, local.row.rowid, local.row.values, {}, -1});
                m_report.lines << QStringLiteral("%1 holds no name and no number on the server any more; it was "
                                                 "deleted here.")
                                      .arg(nameOf(local.row.values));
                ++m_report.removedHere;
            } else if (known && local.state == State::Edited) {
                card.entry = local.row.rowid;
                card.etag = stored[it.key()].etag;
                card.text = stored[it.key()].text;
                card.agreed = agreed;
                m_report.lines << QStringLiteral("%1: the server's card holds no name and no number any more; the "
                                                 "entry as edited here goes back.")
                                      .arg(name);
            }
            merge.cards.append(card);
            continue;
        }
        const int index = int(merge.cards.size());
        switch (known ? local.state : State::NoEntry) {
        case State::Unchanged:
            card.entry = local.row.rowid;
            if (server != local.row.values) {
                merge.writes.append(
                    {SyncStore::EntryWrite::Kind::Update, local.row.rowid, local.row.values, server, index});
                ++m_report.received;
            }
            break;
        case State::Edited: {
            card.entry = local.row.rowid;
            const QStringList result = merged(agreed, local.row.values, server, name);
            if (result != local.row.values) {
                merge.writes.append(
                    {SyncStore::EntryWrite::Kind::Update, local.row.rowid, local.row.values, result, index});
                ++m_report.received;
            }
            break;
        }
        case State::Deleted:
            m_report.lines
                << QStringLiteral("%1 was deleted here and changed on the server; it was brought back.").arg(name);
            [[fallthrough]];
        case State::NoEntry:
            merge.writes.append({SyncStore::EntryWrite::Kind::Insert, -1, {}, server, index});
            ++m_report.received;
            break;
        }
        merge.cards.append(card);
    }
}

void SyncRun::mergeRemoved(const QStringList& removed, const QHash<QString, SyncStore::Card>& stored, Merge& merge)
{
    for (const QString& href : removed) {
        if (!stored.contains(href))
            continue;
        const SyncStore::Card& card = stored[href];
        const Local local = localOf(card);
        if (local.state == State::Unchanged) {
            merge.writes.append({SyncStore::EntryWrite::Kind::Delete, local.row.rowid, local.row.values, {}, -1});
            ++m_report.removedHere;
            merge.dropped << href;
        } else if (local.state == State::Edited) {
            // Edited here, deleted there: the card goes up again as new (its ETag forgotten).
            SyncStore::Card again = card;
            again.etag.clear();
            again.entry = local.row.rowid;
            merge.cards.append(again);
            m_report.lines << QStringLiteral(
                                  "%1 was deleted on the server and changed here; it is created there again.")
                                  .arg(nameOf(local.row.values));
        } else {
            merge.dropped << href;
        }
    }
}

bool SyncRun::pull(const Book& book)
{
    Changes changes;
    switch (changesSince(book, changes)) {
    case Asked::Failed:
        return false;
    case Asked::Refused:
        // Every card and its ETag instead.
        if (!listAll(book, changes))
            return false;
        break;
    case Asked::Done:
        break;
    }

    // Cards whose ETag is the one kept here are what this program sent: nothing to fetch.
    QHash<QString, SyncStore::Card> stored;
    for (const SyncStore::Card& card : SyncStore::cards(m_db, book.key))
        stored.insert(card.href, card);
    QStringList wanted;
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it) {
        if (!stored.contains(it.key()) || stored[it.key()].etag != it.value() || it.value().isEmpty())
            wanted << it.key();
    }
    QMap<QString, QPair<QString, QByteArray>> fetched;
    if (!fetch(book, wanted, fetched, changes.removed))
        return false;

    match();
    Merge merge;
    mergeFetched(book, fetched, stored, merge);
    mergeRemoved(changes.removed, stored, merge);
    return store(book, merge.writes, merge.cards, merge.dropped,
                 changes.token.isNull() ? QStringLiteral("") : changes.token);
}

bool SyncRun::sent(const DavClient::Reply& reply)
{
    m_sentSomething = true;
    return reply.status >= 200 && reply.status < 300;
}

bool SyncRun::pushMove(const Book& book, const SyncStore::Card& card, const Local& local)
{
    // Moved to the other book: the card, with what the directory does not show, goes to the other address book as
    // new (kept there before it is sent, as any new card), then leaves this one.
    const Book* target = nullptr;
    for (const Book& other : m_books)
        target = !target && belongs(local.row.values, other) ? &other : target;
    if (target) {
        const QString href = newHref(*target);
        const QByteArray body = ServerCard(card.text).patched(Contact::fromValues(local.row.values), target->forced);
        SyncStore::Card moved{target->key, href, QString(), body, local.row.rowid, local.row.values};
        if (!store(*target, {}, {moved}))
            return false;
        const DavClient::Reply created = m_client.send(
            "PUT", urlOf(*target, href), body, {{"Content-Type", "text/vcard; charset=utf-8"}, {"If-None-Match", "*"}});
        if (!sent(created)) {
            store(*target, {}, {}, {href});
            failed(created,
                   QStringLiteral("Moving %1 to %2").arg(nameOf(local.row.values), target->url.toDisplayString()));
            return false;
        }
        ++m_report.sent;
        moved.etag = created.etag.isEmpty() ? QStringLiteral("-") : created.etag;
        store(*target, {}, {moved});
    }
    const DavClient::Reply reply =
        m_client.send("DELETE", urlOf(book, card.href), {}, {{"If-Match", card.etag.toUtf8()}});
    if (sent(reply) || reply.status == 404) {
        ++m_report.removedThere;
        store(book, {}, {}, {card.href});
    } else {
        failed(reply, QStringLiteral("Moving %1 out of %2").arg(nameOf(local.row.values), book.url.toDisplayString()));
    }
    return true;
}

bool SyncRun::pushEdit(const Book& book, const SyncStore::Card& card, const Local& local)
{
    const Contact wanted = Contact::fromValues(local.row.values);
    const QByteArray body = ServerCard(card.text).patched(wanted, book.forced);
    DavClient::Headers headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    headers.append(card.etag.isEmpty() ? QPair<QByteArray, QByteArray>("If-None-Match", "*")
                                       : QPair<QByteArray, QByteArray>("If-Match", card.etag.toUtf8()));
    const DavClient::Reply reply = m_client.send("PUT", urlOf(book, card.href), body, headers);
    if (sent(reply)) {
        ++m_report.sent;
        SyncStore::Card done = card;
        done.text = body;
        done.etag = reply.etag.isEmpty() ? QStringLiteral("-") : reply.etag;
        done.entry = local.row.rowid;
        done.agreed = local.row.values;
        store(book, {}, {done});
    } else if (reply.status == 412 || (reply.status == 404 && !card.etag.isEmpty())) {
        // Changed or deleted there meanwhile: the next pull merges it (a deletion makes it new again).
        SyncStore::Card again = card;
        if (reply.status == 404)
            again.etag.clear();
        else
            again.etag = QStringLiteral("-");
        store(book, {}, {again});
        m_sentSomething = true;
    } else if (reply.status == 0 || reply.status == 401 || reply.status >= 500) {
        failed(reply, QStringLiteral("Sending %1 to %2").arg(nameOf(local.row.values), book.url.toDisplayString()));
        return false;
    } else {
        m_report.lines << QStringLiteral("The server refused %1 (%2%3).")
                              .arg(nameOf(local.row.values))
                              .arg(reply.status)
                              .arg(bodyLine(reply.body));
    }
    return true;
}

bool SyncRun::pushDeletion(const Book& book, const SyncStore::Card& card)
{
    const DavClient::Reply reply = m_client.send("DELETE", urlOf(book, card.href), {},
                                                 {{"If-Match", card.etag.isEmpty() ? "*" : card.etag.toUtf8()}});
    if (sent(reply) || reply.status == 404) {
        if (reply.status != 404)
            ++m_report.removedThere;
        store(book, {}, {}, {card.href});
    } else if (reply.status == 412) {
        // Changed there meanwhile: the next pull brings it back here.
        SyncStore::Card again = card;
        again.etag = QStringLiteral("-");
        store(book, {}, {again});
    } else if (reply.status == 0 || reply.status == 401 || reply.status >= 500) {
        failed(reply, QStringLiteral("Deleting %1 on %2").arg(nameOf(card.agreed), book.url.toDisplayString()));
        return false;
    } else {
        m_report.lines << QStringLiteral("The server refused to delete %1 (%2%3).")
                              .arg(nameOf(card.agreed))
                              .arg(reply.status)
                              .arg(bodyLine(reply.body));
    }
    return true;
}

bool SyncRun::pushNew(const Book& book, const SyncStore::Entry& row)
{
    const QString href = newHref(book);
    const QString uid = href.section(QLatin1Char('/'), -1).chopped(4);
    const QByteArray body = ServerCard::created(Contact::fromValues(row.values), uid);
    // Kept before it is sent: a run that dies now sends this card again instead of a second one.
    SyncStore::Card card{book.key, href, QString(), body, row.rowid, row.values};
    if (!store(book, {}, {card}))
        return false;
    const DavClient::Reply reply = m_client.send(
        "PUT", urlOf(book, href), body, {{"Content-Type", "text/vcard; charset=utf-8"}, {"If-None-Match", "*"}});
    if (sent(reply)) {
        ++m_report.sent;
        card.etag = reply.etag.isEmpty() ? QStringLiteral("-") : reply.etag;
        store(book, {}, {card});
    } else if (reply.status == 0 || reply.status == 401 || reply.status >= 500) {
        failed(reply, QStringLiteral("Sending %1 to %2").arg(nameOf(row.values), book.url.toDisplayString()));
        return false;
    } else {
        store(book, {}, {}, {href});
        m_report.lines << QStringLiteral("The server refused the new card of %1 (%2%3).")
                              .arg(nameOf(row.values))
                              .arg(reply.status)
                              .arg(bodyLine(reply.body));
    }
    return true;
}

void SyncRun::push(const Book& book)
{
    match();
    for (const SyncStore::Card& card : SyncStore::cards(m_db, book.key)) {
        const Local local = localOf(card);
        bool goOn = true;
        if (local.state == State::Edited && !belongs(local.row.values, book))
            goOn = pushMove(book, card, local);
        else if (local.state == State::Edited || (card.etag.isEmpty() && local.state == State::Unchanged))
            goOn = pushEdit(book, card, local);
        else if (local.state == State::Deleted)
            goOn = pushDeletion(book, card);
        if (!goOn)
            return;
    }
    for (const SyncStore::Entry& row : std::as_const(m_new)) {
        if (belongs(row.values, book) && !pushNew(book, row))
            return;
    }
}
