#pragma once

#include "sync/DavTransport.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <functional>
#include <optional>

// A CardDAV and CalDAV server in memory, played through the sync's transport in virtual time: address books of cards, a
// sync token per change, PROPFIND listings, sync-collection, multiget, MKCOL, MKCALENDAR, PUT and DELETE with If-Match
// and If-None-Match. A test changes its cards directly, or scripts any answer by hand (`script`): a status, headers, a
// body that comes in pieces over time, a body without end, no answer at all. Every request is kept (`requests`).
class ScriptedServer : public DavTransport
{
public:
    // An answer as the test wants it to come.
    struct Answer
    {
        int status = 200;
        Headers headers;
        QByteArray body;
        qint64 headAfterMs = 0; // when the head comes; -1: never
        qint64 pieceBytes = 0;  // the body comes in pieces of this size (0: at once) ...
        qint64 everyMs = 0;     // ... one every so many milliseconds
        bool endless = false;   // the body starts again at its end, without end
    };
    struct Card
    {
        QString etag;
        QByteArray text;
    };
    struct Book
    {
        QMap<QString, Card> cards; // by href
        QList<QString> log;        // hrefs in the order they changed; a token is a position in it
        QString generation = QStringLiteral("1");
    };

    static constexpr const char* kHost = "http://127.0.0.1:5232";

    // An address book at `path` ("/alice/personal/").
    void addBook(const QString& path) { books[path]; }
    // A calendar at `path` in the user's home ("/alice/"), taking the components named ("VTODO", "VEVENT").
    void addCalendar(const QString& path, const QStringList& components) { calendars[path] = components; }
    QUrl url(const QString& path) const { return QUrl(QLatin1String(kHost) + path); }

    void put(const QString& href, const QByteArray& text)
    {
        Book& book = books[bookOf(href)];
        book.cards[href] = {QStringLiteral("\"%1\"").arg(++m_version), text};
        book.log << href;
    }
    void remove(const QString& href)
    {
        Book& book = books[bookOf(href)];
        book.cards.remove(href);
        book.log << href;
    }
    // The address book made again empty (a restored server, a collection re-created): its tokens are unknown.
    void empty(const QString& path)
    {
        Book& book = books[path];
        book = Book{{}, {}, book.generation + QLatin1Char('x')};
    }

    // Requests of that method (or all) as "METHOD path", with the If-Match header when there is one.
    QStringList sent(const QByteArray& method = QByteArray()) const
    {
        QStringList found;
        for (const Request& request : requests) {
            if (!method.isEmpty() && request.method != method)
                continue;
            QString line =
                QString::fromLatin1(request.method) + QLatin1Char(' ') + request.url.path(QUrl::FullyEncoded);
            for (const auto& [name, value] : request.headers) {
                if (name == "If-Match")
                    line += QStringLiteral(" If-Match: ") + QString::fromLatin1(value);
            }
            found << line;
        }
        return found;
    }

    std::function<std::optional<Answer>(const Request&)> script;
    QMap<QString, Book> books;            // by path
    QMap<QString, QStringList> calendars; // their components, by path
    QList<Request> requests;

    End exchange(const Request& request, Receiver& receiver) override
    {
        requests << request;
        std::optional<Answer> scripted = script ? script(request) : std::nullopt;
        const Answer answer = scripted ? *scripted : serve(request);
        qint64 now = 0;
        const auto waitUntil = [&](qint64 until) {
            for (; now < until; now += 100) {
                if (!receiver.wait(now))
                    return false;
            }
            return true;
        };
        if (answer.headAfterMs < 0) {
            // Never: a day of virtual time is more than any client waits.
            return waitUntil(24 * 3600 * 1000) ? End{QStringLiteral("the script waited a day"), {}} : End{};
        }
        if (!waitUntil(answer.headAfterMs) || !receiver.head(answer.status, answer.headers, now))
            return {};
        const qint64 piece = answer.pieceBytes > 0 ? answer.pieceBytes : qMax<qint64>(1, answer.body.size());
        qint64 delivered = 0;
        for (qint64 at = 0; answer.endless || at < answer.body.size(); at += piece) {
            if (answer.endless && at >= answer.body.size())
                at = 0;
            if (!waitUntil(now + answer.everyMs) || !receiver.data(answer.body.mid(at, piece), now))
                return {};
            delivered += piece;
            if (delivered > kMostBytes)
                return {QStringLiteral("the script sent %1 bytes and stopped").arg(delivered), {}};
        }
        return {};
    }

private:
    // What an endless answer sends at most before the script gives up: a client that does not stop it fails.
    static constexpr qint64 kMostBytes = qint64(512) * 1024 * 1024;

    QString bookOf(const QString& href) const { return href.left(href.lastIndexOf(QLatin1Char('/')) + 1); }

    static QByteArray escaped(const QByteArray& text)
    {
        return QByteArray(text).replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
    }
    static QByteArray response(const QString& href, const QString& etag, const QByteArray* text = nullptr)
    {
        QByteArray out = "<d:response><d:href>" + escaped(href.toUtf8()) + "</d:href>";
        if (etag.isNull())
            return out + "<d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
        out += "<d:propstat><d:prop><d:getetag>" + escaped(etag.toUtf8()) + "</d:getetag>";
        if (text)
            out += "<card:address-data>" + escaped(*text) + "</card:address-data>";
        return out + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
    }
    // The user's principal and home ("/alice/", holding address books and calendars), named from "/", the home and
    // /.well-known.
    Answer home(const QString& path, const QByteArray& depth)
    {
        const QByteArray homeSets = "<d:current-user-principal><d:href>/alice/</d:href></d:current-user-principal>"
                                    "<card:addressbook-home-set><d:href>/alice/</d:href></card:addressbook-home-set>"
                                    "<cal:calendar-home-set><d:href>/alice/</d:href></cal:calendar-home-set>";
        const auto props = [](const QString& href, const QByteArray& inner) {
            return "<d:response><d:href>" + escaped(href.toUtf8()) + "</d:href><d:propstat><d:prop>" + inner +
                   "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
        };
        QByteArray inner = props(path, homeSets);
        if (depth == "1" && path == QLatin1String("/alice/")) {
            for (auto it = books.cbegin(); it != books.cend(); ++it)
                inner += props(it.key(), "<d:resourcetype><d:collection/><card:addressbook/></d:resourcetype>");
            for (auto it = calendars.cbegin(); it != calendars.cend(); ++it) {
                QByteArray comps;
                for (const QString& name : it.value())
                    comps += "<cal:comp name=\"" + name.toUtf8() + "\"/>";
                inner += props(it.key(), "<d:resourcetype><d:collection/><cal:calendar/></d:resourcetype>"
                                         "<cal:supported-calendar-component-set>" +
                                             comps + "</cal:supported-calendar-component-set>");
            }
        }
        return multistatus(inner);
    }
    static Answer multistatus(const QByteArray& inner)
    {
        return {207,
                {{"Content-Type", "application/xml; charset=utf-8"}},
                "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\" "
                "xmlns:cal=\"urn:ietf:params:xml:ns:caldav\">" +
                    inner + "</d:multistatus>"};
    }

    Answer serve(const Request& request)
    {
        const QString path = request.url.path(QUrl::FullyEncoded);
        const QString body = QString::fromUtf8(request.body);
        const auto header = [&request](const QByteArray& name) -> std::optional<QByteArray> {
            for (const auto& [key, value] : request.headers) {
                if (key.compare(name, Qt::CaseInsensitive) == 0)
                    return value;
            }
            return std::nullopt;
        };
        if (request.method == "MKCOL") {
            if (books.contains(path))
                return {405, {}, {}};
            addBook(path);
            return {201, {}, {}};
        }
        if (request.method == "MKCALENDAR") {
            if (calendars.contains(path) || books.contains(path))
                return {405, {}, {}};
            QStringList components;
            auto comp = QRegularExpression(QStringLiteral("comp name=\"([A-Z]+)\"")).globalMatch(body);
            while (comp.hasNext())
                components << comp.next().captured(1);
            addCalendar(path, components);
            return {201, {}, {}};
        }
        if (request.method == "PROPFIND" && (path == QLatin1String("/") || path == QLatin1String("/alice/") ||
                                             path.startsWith(QLatin1String("/.well-known/")))) {
            const auto depth = header("Depth");
            return home(path, depth ? *depth : QByteArray("0"));
        }
        if (books.contains(path)) {
            Book& book = books[path];
            if (request.method == "PROPFIND") {
                QByteArray inner = response(path, QStringLiteral("\"book\""));
                for (auto it = book.cards.cbegin(); it != book.cards.cend(); ++it)
                    inner += response(it.key(), it.value().etag);
                return multistatus(inner);
            }
            if (request.method == "REPORT" && body.contains(QLatin1String("sync-collection"))) {
                const QString token = QRegularExpression(QStringLiteral("sync-token>([^<]*)<")).match(body).captured(1);
                qsizetype from = 0;
                if (!token.isEmpty()) {
                    const QStringList parts = token.split(QLatin1Char('-'));
                    if (parts.size() != 2 || parts[0] != book.generation || parts[1].toLongLong() > book.log.size())
                        return {403, {}, "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>"};
                    from = parts[1].toLongLong();
                }
                QByteArray inner;
                QStringList seen;
                for (qsizetype i = from; i < book.log.size(); ++i) {
                    const QString& href = book.log[i];
                    if (seen.contains(href))
                        continue;
                    seen << href;
                    inner += response(href, book.cards.contains(href) ? book.cards[href].etag : QString());
                }
                inner += "<d:sync-token>" +
                         (book.generation + QLatin1Char('-') + QString::number(book.log.size())).toUtf8() +
                         "</d:sync-token>";
                return multistatus(inner);
            }
            if (request.method == "REPORT" && body.contains(QLatin1String("addressbook-multiget"))) {
                QByteArray inner;
                auto found = QRegularExpression(QStringLiteral("href>([^<]+)</")).globalMatch(body);
                while (found.hasNext()) {
                    const QString href = found.next().captured(1);
                    if (book.cards.contains(href))
                        inner += response(href, book.cards[href].etag, &book.cards[href].text);
                    else
                        inner += response(href, QString());
                }
                return multistatus(inner);
            }
            return {405, {}, {}};
        }
        const QString bookPath = bookOf(path);
        if (!books.contains(bookPath))
            return {404, {}, {}};
        Book& book = books[bookPath];
        const bool exists = book.cards.contains(path);
        const std::optional<QByteArray> ifMatch = header("If-Match");
        if (ifMatch && (!exists || (*ifMatch != "*" && *ifMatch != book.cards[path].etag.toUtf8())))
            return {exists ? 412 : 404, {}, {}};
        if (request.method == "GET")
            return exists ? Answer{200, {{"ETag", book.cards[path].etag.toUtf8()}}, book.cards[path].text}
                          : Answer{404, {}, {}};
        if (request.method == "PUT") {
            if (header("If-None-Match") && exists)
                return {412, {}, {}};
            put(path, request.body);
            return {exists ? 204 : 201, {{"ETag", book.cards[path].etag.toUtf8()}}, {}};
        }
        if (request.method == "DELETE") {
            if (!exists)
                return {404, {}, {}};
            remove(path);
            return {204, {}, {}};
        }
        return {405, {}, {}};
    }

    int m_version = 0;
};
