#include "sync/SyncRun.h"

#include "data/Backups.h"
#include "data/Book.h"
#include "data/Contact.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "sync/DavXml.h"
#include "sync/ServerCard.h"
#include "sync/ServerText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QUuid>

namespace {

constexpr int kMultigetBatch = 100;

using MergeRules::nameOf;
using MergeRules::Outcome;
using MergeRules::Step;
using MergeRules::Then;

QString key(const QString& book, const QString& href)
{
    return book + QLatin1Char('\n') + href;
}

} // namespace

SyncRun::SyncRun(Database& db, DavClient& client, const SyncSettings& settings)
    : SyncRun(db, client, settings, Options())
{
}

SyncRun::SyncRun(Database& db, DavClient& client, const SyncSettings& settings, Options options)
    : m_db(db), m_client(client), m_options(std::move(options))
{
    if (settings.personal == settings.business) {
        m_books.append({settings.personal, settings.personal.toString(), QString()});
    } else {
        m_books.append({settings.personal, settings.personal.toString(), ::Book::Personal.name()});
        m_books.append({settings.business, settings.business.toString(), ::Book::Business.name()});
    }
}

SyncReport SyncRun::run()
{
    try {
        SyncStore::prepare(m_db);
        for (const Book& book : m_books) {
            const bool wasPaused = paused(m_db, book.key);
            if (wasPaused && m_options.leavePaused) {
                m_report.lines << QCoreApplication::translate("SyncRun",
                                                              "The sync of %1 is paused: \"Sync Now...\" asks "
                                                              "again what to do with the entries the server no "
                                                              "longer lists.")
                                      .arg(book.url.toDisplayString());
                continue;
            }
            if (!pull(book))
                continue;
            if (wasPaused)
                setPaused(m_db, book.key, false);
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
    if (m_unplaced > kUnplacedShown)
        m_report.lines << QCoreApplication::translate("SyncRun",
                                                      "%n more values of the server's cards could not be "
                                                      "placed in their entries.",
                                                      nullptr, int(m_unplaced - kUnplacedShown));
    return m_report;
}

void SyncRun::setPaused(Database& db, const QString& book, bool paused)
{
    SyncStore::prepare(db);
    SyncStore::setSetting(db, QStringLiteral("paused ") + book, paused ? QStringLiteral("1") : QString());
}

bool SyncRun::paused(Database& db, const QString& book)
{
    return SyncStore::prepared(db) && !SyncStore::setting(db, QStringLiteral("paused ") + book).isEmpty();
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
    const QString why =
        reply.explained(QCoreApplication::translate("SyncRun", "the address book is missing on the server (404)"));
    if (m_report.error.isEmpty())
        m_report.error = QStringLiteral("%1: %2").arg(what, why);
    return true;
}

bool SyncRun::belongs(const QStringList& values, const Book& book) const
{
    return book.forced.isEmpty() || Contact::fromValues(values).category == book.forced;
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

DavXml::Multistatus SyncRun::ask(const QByteArray& method, const QUrl& url, const QByteArray& body,
                                 DavClient::Reply& reply)
{
    DavXml::Reader reader(m_options.cardBytes);
    reply = m_client.send(method, url, body, {{"Depth", "1"}},
                          [&reader](const QByteArray& bytes) { return reader.add(bytes); });
    return reader.finish(reply.url);
}

void SyncRun::tell(const Book& book, qsizetype done, qsizetype total) const
{
    if (m_options.progress)
        m_options.progress(book.forced.isEmpty() ? book.url.path().section(QLatin1Char('/'), -2, -2) : book.forced,
                           done, total);
}

bool SyncRun::fetch(const Book& book, const QStringList& hrefs, QMap<QString, QPair<QString, QByteArray>>& cards,
                    QStringList& gone)
{
    if (!hrefs.isEmpty())
        tell(book, 0, hrefs.size());
    for (qsizetype from = 0; from < hrefs.size(); from += kMultigetBatch) {
        const QStringList batch = hrefs.mid(from, kMultigetBatch);
        DavClient::Reply reply;
        const DavXml::Multistatus answer = ask("REPORT", book.url, DavXml::multiget(batch), reply);
        if (failed(reply,
                   QCoreApplication::translate("SyncRun", "Reading the cards of %1").arg(book.url.toDisplayString())))
            return false;
        if (!answer.error.isEmpty()) {
            m_report.error = QCoreApplication::translate("SyncRun", "Reading the cards of %1: %2")
                                 .arg(book.url.toDisplayString(), answer.error);
            return false;
        }
        for (const DavXml::Response& response : answer.responses) {
            if (!ownCard(book, response.href))
                continue;
            QString problem = response.problem;
            if (problem.isEmpty() && response.status < 300 && !response.addressData.isEmpty() &&
                response.addressData.left(64).trimmed().left(11).toUpper() != "BEGIN:VCARD")
                problem = QCoreApplication::translate("SyncRun", "the card is no vCard");
            if (!problem.isEmpty()) {
                // That card stays as it was here; every other one syncs.
                m_report.lines << QCoreApplication::translate("SyncRun", "The card %1 on the server was left out: %2.")
                                      .arg(ServerText::shown(response.href), problem);
            } else if (response.status == 404) {
                gone << response.href;
            } else if (response.status < 300 && !response.addressData.isEmpty()) {
                cards.insert(response.href, {response.etag, response.addressData});
            }
        }
        tell(book, from + batch.size(), hrefs.size());
    }
    return true;
}

bool SyncRun::store(const Book& book, const QList<SyncStore::EntryWrite>& writes, const QList<SyncStore::Card>& cards,
                    const QStringList& dropped, const QString& token)
{
    if (SyncStore::apply(m_db, book.key, writes, cards, dropped, token))
        return true;
    m_report.lines << QCoreApplication::translate(
        "SyncRun", "Entries were changed here during the sync; they go at the next sync.");
    return false;
}

bool SyncRun::isSelf(const QUrl& collection, const QString& href)
{
    const QString self = collection.path(QUrl::FullyEncoded);
    return href == self || href + QLatin1Char('/') == self || href == self + QLatin1Char('/');
}

bool SyncRun::isInside(const QUrl& collection, const QString& href)
{
    if (!href.startsWith(QLatin1Char('/')))
        return false;
    // As the address book's own path spells it, with a plain name: no need to decode.
    const QString path = collection.path(QUrl::FullyEncoded);
    if (path.endsWith(QLatin1Char('/')) && href.size() > path.size() && href.startsWith(path)) {
        const QStringView name = QStringView(href).mid(path.size());
        bool plain = name != QLatin1String(".") && name != QLatin1String("..");
        for (const QChar c : name)
            plain = plain && c.unicode() > 0x20 && c.unicode() < 0x7F && c != QLatin1Char('/') &&
                    c != QLatin1Char('%') && c != QLatin1Char('\\');
        if (plain)
            return true;
    }
    const QStringList folder = collection.path(QUrl::FullyEncoded).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList parts = href.mid(1).split(QLatin1Char('/'));
    if (parts.size() != folder.size() + 1)
        return false;
    const auto decoded = [](const QString& part) { return QUrl::fromPercentEncoding(part.toUtf8()); };
    for (int i = 0; i < folder.size(); ++i) {
        if (decoded(parts[i]) != decoded(folder[i]))
            return false;
    }
    const QString name = decoded(parts.last());
    return !name.isEmpty() && ServerText::shown(name) == name && name != QLatin1String(".") &&
           name != QLatin1String("..") && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool SyncRun::ownCard(const Book& book, const QString& href)
{
    if (isInside(book.url, href))
        return true;
    if (!m_strangers.contains(href)) {
        m_strangers.insert(href);
        m_report.lines << QCoreApplication::translate("SyncRun", "The server named %1, which is no card of %2: it "
                                                                 "was ignored, and nothing is sent to it.")
                              .arg(ServerText::shown(href), book.url.toDisplayString());
    }
    return false;
}

CollectionChanges SyncRun::changesOf(const Book& book)
{
    return CollectionChanges(
        book.url,
        [this, &book](const QByteArray& method, const QByteArray& body, DavClient::Reply& reply) {
            return ask(method, book.url, body, reply);
        },
        [this, &book](const QString& href) { return ownCard(book, href); },
        [this](const DavClient::Reply& reply, const QString& what) { return failed(reply, what); }, m_report);
}

void SyncRun::take(const MergeRules::Merge& rule, const Local& local, SyncStore::Card card, Merge& merge)
{
    using Row = MergeRules::Merge::Row;
    using Fate = MergeRules::Merge::Card;
    m_report.lines << rule.lines;
    const int index = int(merge.cards.size());
    switch (rule.row) {
    case Row::Keep:
        break;
    case Row::Insert:
        merge.writes.append({SyncStore::EntryWrite::Kind::Insert, -1, {}, rule.values, index});
        ++m_report.received;
        break;
    case Row::Update:
        merge.writes.append(
            {SyncStore::EntryWrite::Kind::Update, local.row.rowid, local.row.values, rule.values, index});
        ++m_report.received;
        break;
    case Row::Delete:
        merge.writes.append({SyncStore::EntryWrite::Kind::Delete, local.row.rowid, local.row.values, {}, -1});
        ++m_report.removedHere;
        break;
    }
    const bool hasRow = local.state == State::Unchanged || local.state == State::Edited;
    switch (rule.card) {
    case Fate::Forget:
        merge.dropped << card.href;
        return;
    case Fate::CreateAgain:
        card.etag = ETag();
        [[fallthrough]];
    case Fate::Kept:
        card.entry = local.row.rowid;
        break;
    case Fate::Server:
        card.entry = hasRow && rule.row != Row::Delete ? local.row.rowid : -1;
        break;
    }
    merge.cards.append(card);
}

void SyncRun::mergeFetched(const Book& book, const QMap<QString, QPair<QString, QByteArray>>& fetched,
                           const QHash<QString, SyncStore::Card>& stored, Merge& merge)
{
    // Entries no card claims yet, by their values: a new card there holding the very same values is that entry (two
    // desks that started from one file, an entry typed on both sides), tied to it rather than added again.
    QMultiHash<QStringList, int> unpaired;
    for (int i = 0; i < m_new.size(); ++i) {
        if (belongs(m_new[i].values, book))
            unpaired.insert(m_new[i].values, i);
    }
    for (auto it = fetched.cbegin(); it != fetched.cend(); ++it) {
        const ServerCard serverCard(it.value().second);
        ProblemList problems;
        const std::optional<Contact> entry = serverCard.entry(book.forced, &problems);
        QStringList server = entry ? entry->values() : QStringList();
        for (QString& value : server)
            value = ServerText::shown(value);
        const SyncStore::Card card{book.key, it.key(), ETag::of(it.value().first), serverCard.text(), -1, server};
        const auto known = stored.constFind(it.key());
        if (known != stored.cend() && known->text == card.text) {
            // The card as kept here, read again for its version: nothing changed there.
            SyncStore::Card confirmed = *known;
            confirmed.etag = card.etag;
            merge.cards.append(confirmed);
            continue;
        }
        Local local = known != stored.cend() ? localOf(*known) : Local{};
        QStringList agreed = known != stored.cend() ? known->agreed : QStringList();
        if (const auto twin = unpaired.constFind(server); local.state == State::NoEntry && twin != unpaired.cend()) {
            local = {State::Unchanged, m_new[twin.value()]};
            agreed = server;
            unpaired.erase(twin);
        }
        MergeRules::Merge rule =
            MergeRules::merge(agreed, local.state, local.row.values,
                              entry ? MergeRules::There::Changed : MergeRules::There::Blank, server);
        if (m_options.keepHere.contains(book.key))
            rule = MergeRules::keptHere(rule);
        // What of the card the entry could not take, as an import reports it; a card that is no entry here names
        // itself, one that was an entry is told of by the rules.
        if (entry || rule.lines.isEmpty())
            reportUnplaced(it.key(), entry ? nameOf(server) : QString(), problems);
        take(rule, local, rule.card == MergeRules::Merge::Card::Server ? card : *known, merge);
    }
}

void SyncRun::reportUnplaced(const QString& href, const QString& name, const ProblemList& problems)
{
    for (const ExchangeProblem& problem : problems) {
        if (m_unplaced++ >= kUnplacedShown)
            continue;
        // The server's text, made safe to print.
        const QString card =
            name.isEmpty() ? QCoreApplication::translate("SyncRun", "The card %1").arg(ServerText::shown(href))
                           : QCoreApplication::translate("SyncRun", "%1 (card %2)").arg(name, ServerText::shown(href));
        const QString value = problem.value.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" \"%1\"").arg(ServerText::shown(problem.value).simplified());
        m_report.lines << (problem.field.isEmpty()
                               ? QCoreApplication::translate("SyncRun", "%1%2: %3.").arg(card, value, problem.action)
                               : QCoreApplication::translate("SyncRun", "%1: %2%3 %4.")
                                     .arg(card, problem.field, value, problem.action));
    }
}

void SyncRun::mergeRemoved(const QStringList& removed, const QHash<QString, SyncStore::Card>& stored, Merge& merge)
{
    for (const QString& href : removed) {
        const auto known = stored.constFind(href);
        if (known == stored.cend())
            continue;
        const Local local = localOf(*known);
        MergeRules::Merge rule =
            MergeRules::merge(known->agreed, local.state, local.row.values, MergeRules::There::Gone, {});
        if (m_options.keepHere.contains(known->book))
            rule = MergeRules::keptHere(rule);
        take(rule, local, *known, merge);
    }
}

bool SyncRun::pull(const Book& book)
{
    const CollectionChanges server = changesOf(book);
    Changes changes;
    switch (server.since(SyncStore::token(m_db, book.key), changes)) {
    case CollectionChanges::Asked::Failed:
        return false;
    case CollectionChanges::Asked::Refused:
        // Every card and its ETag instead, against the cards kept here.
        if (!server.listAll(SyncStore::versions(m_db, book.key), changes))
            return false;
        break;
    case CollectionChanges::Asked::Done:
        break;
    }

    // Nothing changed there and nothing here waits to be read again: no kept card is read, and the file is written
    // only when the server's token moved.
    const QString token = changes.token.isNull() ? QStringLiteral("") : changes.token;
    if (changes.changed.isEmpty() && changes.removed.isEmpty() && !SyncStore::unknownVersions(m_db, book.key))
        return token == SyncStore::token(m_db, book.key) || store(book, {}, {}, {}, token);

    // Cards whose ETag is the one kept here are what this program sent: nothing to fetch.
    QHash<QString, SyncStore::Card> stored;
    for (const SyncStore::Card& card : SyncStore::cards(m_db, book.key))
        stored.insert(card.href, card);
    QStringList wanted;
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it) {
        if (!stored.contains(it.key()) || !stored[it.key()].etag.is(it.value()) || it.value().isEmpty())
            wanted << it.key();
    }
    // A card whose version is not known here is read again before anything is sent to it.
    for (const SyncStore::Card& card : std::as_const(stored)) {
        if (card.etag.state() == ETag::State::Unknown && !changes.changed.contains(card.href) &&
            !changes.removed.contains(card.href))
            wanted << card.href;
    }
    QMap<QString, QPair<QString, QByteArray>> fetched;
    if (!fetch(book, wanted, fetched, changes.removed))
        return false;

    match();
    Merge merge;
    const int received = m_report.received;
    const int removedHere = m_report.removedHere;
    mergeFetched(book, fetched, stored, merge);
    mergeRemoved(changes.removed, stored, merge);
    if (!mayDelete(book, merge, stored, changes)) {
        // Nothing of this address book was written: the report counts none of it.
        m_report.received = received;
        m_report.removedHere = removedHere;
        return false;
    }
    return store(book, merge.writes, merge.cards, merge.dropped, token);
}

bool SyncRun::mayDelete(const Book& book, const Merge& merge, const QHash<QString, SyncStore::Card>& stored,
                        const Changes& changes)
{
    int deletions = 0;
    for (const SyncStore::EntryWrite& write : merge.writes)
        deletions += write.kind == SyncStore::EntryWrite::Kind::Delete ? 1 : 0;
    if (deletions == 0)
        return true;
    int synced = 0;
    QSet<QString> listed;
    for (const SyncStore::Card& card : stored) {
        synced += card.entry >= 0 ? 1 : 0;
        listed.insert(card.href);
    }
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it)
        listed.insert(it.key());
    for (const QString& href : changes.removed)
        listed.remove(href);
    const bool force = m_options.forceDelete || m_options.deleteHere.contains(book.key);
    if (!force && MergeRules::asksFirst(deletions, synced, listed.isEmpty())) {
        const QString books = book.forced.isEmpty() ? QCoreApplication::translate("SyncRun", "\"%1\" and \"%2\"")
                                                          .arg(::Book::Personal.name(), ::Book::Business.name())
                                                    : QStringLiteral("\"%1\"").arg(book.forced);
        m_report.held.append({book.key, books, deletions});
        return false;
    }
    if (!m_copied) {
        Backups::make(m_db.path(), QDateTime::currentDateTime(), QStringLiteral("before sync"));
        m_copied = true;
    }
    return true;
}

DavClient::Reply SyncRun::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                               const DavClient::Headers& headers)
{
    m_sentSomething = true;
    return m_client.send(method, url, body, headers);
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
        SyncStore::Card moved{target->key, href, ETag(), body, local.row.rowid, local.row.values};
        if (!store(*target, {}, {moved}))
            return false;
        const DavClient::Reply created = send("PUT", urlOf(*target, href), body,
                                              {{"Content-Type", "text/vcard; charset=utf-8"}, {"If-None-Match", "*"}});
        switch (MergeRules::after(Step::Create, MergeRules::classify(created.status, true), ETag::State::New)) {
        case Then::Confirmed:
            ++m_report.sent;
            moved.etag = ETag::of(created.etag);
            store(*target, {}, {moved});
            break;
        case Then::Stop:
            store(*target, {}, {}, {href});
            failed(created, QCoreApplication::translate("SyncRun", "Moving %1 to %2")
                                .arg(nameOf(local.row.values), target->url.toDisplayString()));
            return false;
        default:
            // The card stays where it was; the move is tried again at the next sync.
            store(*target, {}, {}, {href});
            m_report.lines << QCoreApplication::translate("SyncRun", "The server refused to move %1 to %2 (%3%4).")
                                  .arg(nameOf(local.row.values), target->url.toDisplayString())
                                  .arg(created.status)
                                  .arg(created.bodyLine());
            return true;
        }
    }
    return pushDeletion(book, card);
}

bool SyncRun::pushEdit(const Book& book, const SyncStore::Card& card, const Local& local)
{
    const Contact wanted = Contact::fromValues(local.row.values);
    const QByteArray body = ServerCard(card.text).patched(wanted, book.forced);
    DavClient::Headers headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    headers.append(card.etag.isKnown() ? QPair<QByteArray, QByteArray>("If-Match", card.etag.value().toUtf8())
                                       : QPair<QByteArray, QByteArray>("If-None-Match", "*"));
    const DavClient::Reply reply = send("PUT", urlOf(book, card.href), body, headers);
    SyncStore::Card next = card;
    switch (MergeRules::after(Step::Edit, MergeRules::classify(reply.status, true), card.etag.state())) {
    case Then::Confirmed:
        ++m_report.sent;
        next.text = body;
        next.etag = ETag::of(reply.etag);
        next.entry = local.row.rowid;
        next.agreed = local.row.values;
        store(book, {}, {next});
        break;
    case Then::ReadAgain:
        // Changed there meanwhile: the next pull merges it.
        next.etag = ETag::unknown();
        store(book, {}, {next});
        break;
    case Then::CreateAgain:
        next.etag = ETag();
        store(book, {}, {next});
        break;
    case Then::Stop:
        failed(reply, QCoreApplication::translate("SyncRun", "Sending %1 to %2")
                          .arg(nameOf(local.row.values), book.url.toDisplayString()));
        return false;
    case Then::Refused:
    case Then::Forget:
        m_report.lines << QCoreApplication::translate("SyncRun", "The server refused %1 (%2%3).")
                              .arg(nameOf(local.row.values), QString::number(reply.status), reply.bodyLine());
        break;
    }
    return true;
}

bool SyncRun::pushDeletion(const Book& book, const SyncStore::Card& card)
{
    // A card not yet confirmed has no version to name: whatever the server holds under its new name is ours.
    const DavClient::Reply reply =
        send("DELETE", urlOf(book, card.href), {},
             {{"If-Match", card.etag.isKnown() ? card.etag.value().toUtf8() : QByteArray("*")}});
    const Outcome outcome = MergeRules::classify(reply.status, true);
    switch (MergeRules::after(Step::Delete, outcome, card.etag.state())) {
    case Then::Forget:
        if (outcome == Outcome::Done)
            ++m_report.removedThere;
        store(book, {}, {}, {card.href});
        break;
    case Then::ReadAgain: {
        // Changed there meanwhile: the next pull brings it back here.
        SyncStore::Card again = card;
        again.etag = ETag::unknown();
        store(book, {}, {again});
        break;
    }
    case Then::Stop:
        failed(reply, QCoreApplication::translate("SyncRun", "Deleting %1 on %2")
                          .arg(nameOf(card.agreed), book.url.toDisplayString()));
        return false;
    default:
        m_report.lines << QCoreApplication::translate("SyncRun", "The server refused to delete %1 (%2%3).")
                              .arg(nameOf(card.agreed), QString::number(reply.status), reply.bodyLine());
        break;
    }
    return true;
}

bool SyncRun::pushNew(const Book& book, const QList<SyncStore::Entry>& rows)
{
    // Kept before they are sent, a batch at a time: a run that dies now sends these cards again instead of second
    // ones, and many new entries cost the file a few writes rather than two each.
    if (!rows.isEmpty())
        tell(book, 0, rows.size());
    for (qsizetype from = 0; from < rows.size(); from += kNewBatch) {
        QList<SyncStore::Card> batch;
        for (const SyncStore::Entry& row : rows.mid(from, kNewBatch)) {
            const QString href = newHref(book);
            const QString uid = href.section(QLatin1Char('/'), -1).chopped(4);
            batch.append({book.key, href, ETag(), ServerCard::created(Contact::fromValues(row.values), uid), row.rowid,
                          row.values});
        }
        if (!store(book, {}, batch))
            return false;
        QList<SyncStore::Card> confirmed;
        QStringList refused;
        bool stop = false;
        for (SyncStore::Card& card : batch) {
            const DavClient::Reply reply =
                send("PUT", urlOf(book, card.href), card.text,
                     {{"Content-Type", "text/vcard; charset=utf-8"}, {"If-None-Match", "*"}});
            switch (MergeRules::after(Step::Create, MergeRules::classify(reply.status, true), ETag::State::New)) {
            case Then::Confirmed:
                ++m_report.sent;
                card.etag = ETag::of(reply.etag);
                confirmed << card;
                break;
            case Then::Stop:
                failed(reply, QCoreApplication::translate("SyncRun", "Sending %1 to %2")
                                  .arg(nameOf(card.agreed), book.url.toDisplayString()));
                stop = true;
                break;
            default:
                refused << card.href;
                m_report.lines << QCoreApplication::translate("SyncRun",
                                                              "The server refused the new card of %1 (%2%3).")
                                      .arg(nameOf(card.agreed), QString::number(reply.status), reply.bodyLine());
                break;
            }
            if (stop)
                break;
        }
        // The cards not sent stay kept as new: the next sync sends them.
        store(book, {}, confirmed, refused);
        if (stop)
            return false;
        tell(book, from + batch.size(), rows.size());
    }
    return true;
}

void SyncRun::push(const Book& book)
{
    // Nothing changed here since the last agreement: no kept card is read.
    if (SyncStore::settled(m_db, book.key, book.forced))
        return;
    match();
    for (const SyncStore::Card& card : SyncStore::cards(m_db, book.key)) {
        if (!ownCard(book, card.href))
            continue;
        const Local local = localOf(card);
        bool goOn = true;
        switch (MergeRules::step(local.state, belongs(local.row.values, book), card.etag.state())) {
        case Step::Move:
            goOn = pushMove(book, card, local);
            break;
        case Step::Edit:
            goOn = pushEdit(book, card, local);
            break;
        case Step::Delete:
            goOn = pushDeletion(book, card);
            break;
        case Step::None:
        case Step::Create:
            break;
        }
        if (!goOn)
            return;
    }
    QList<SyncStore::Entry> rows;
    for (const SyncStore::Entry& row : std::as_const(m_new)) {
        if (belongs(row.values, book))
            rows << row;
    }
    pushNew(book, rows);
}
