#include "sync/Discovery.h"

#include "sync/DavXml.h"

#include <QCoreApplication>

namespace {

// Which collections a discovery looks for.
enum class Kind { AddressBooks, TaskLists };

DavXml::Multistatus propfind(DavClient& client, const QUrl& url, int depth, QString& error,
                             DavClient::Reply* raw = nullptr, Kind kind = Kind::AddressBooks)
{
    const QStringList davProps{QStringLiteral("resourcetype"), QStringLiteral("displayname"),
                               QStringLiteral("current-user-principal")};
    const QByteArray body = kind == Kind::AddressBooks
                                ? DavXml::propfind(davProps, {QStringLiteral("addressbook-home-set")})
                                : DavXml::propfind(davProps, {},
                                                   {QStringLiteral("calendar-home-set"),
                                                    QStringLiteral("supported-calendar-component-set")});
    const DavClient::Reply reply = client.send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}});
    if (raw)
        *raw = reply;
    if (reply.status != 207) {
        error = QStringLiteral("%1: %2").arg(url.toDisplayString(), reply.explained());
        return {};
    }
    DavXml::Multistatus answer = DavXml::parse(reply.body, reply.url);
    if (!answer.error.isEmpty())
        error = QStringLiteral("%1: %2").arg(url.toDisplayString(), answer.error);
    return answer;
}

QString lastPart(const QUrl& url)
{
    const QStringList parts = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return parts.isEmpty() ? url.host() : parts.last();
}

QString homeOf(const DavXml::Response& response, Kind kind)
{
    return kind == Kind::AddressBooks ? response.homeSet : response.calendarHomeSet;
}

bool holdsTasks(const DavXml::Response& response)
{
    // A calendar that does not say which components it takes takes them all.
    return response.isCalendar &&
           (response.components.isEmpty() || response.components.contains(QLatin1String("VTODO")));
}

// The user's home of that kind: from `answer`, the address given's own, else /.well-known on its host, else the
// principal either names. Empty with `error` set when there is none.
QUrl findHome(DavClient& client, const QUrl& start, Kind kind, const DavXml::Multistatus& answer, QString& error)
{
    QString principal, home;
    const auto take = [&](const DavXml::Multistatus& from) {
        for (const DavXml::Response& response : from.responses) {
            if (principal.isEmpty())
                principal = response.principal;
            if (home.isEmpty())
                home = homeOf(response, kind);
        }
    };
    take(answer);
    if (principal.isEmpty() && home.isEmpty()) {
        const QString known =
            kind == Kind::AddressBooks ? QStringLiteral("/.well-known/carddav") : QStringLiteral("/.well-known/caldav");
        take(propfind(client, start.resolved(QUrl(known)), 0, error, nullptr, kind));
    }
    if (home.isEmpty() && !principal.isEmpty())
        take(propfind(client, start.resolved(QUrl(principal)), 0, error, nullptr, kind));
    if (home.isEmpty()) {
        if (error.isEmpty())
            error = kind == Kind::AddressBooks
                        ? QCoreApplication::translate("Discovery", "%1 names no address books for this user")
                              .arg(start.toDisplayString())
                        : QCoreApplication::translate("Discovery", "%1 names no task lists for this user")
                              .arg(start.toDisplayString());
        return {};
    }
    error.clear();
    return start.resolved(QUrl(home));
}

// What sets the two kinds of collection apart: which responses are one, and how one is made.
struct Collection
{
    Kind kind;
    bool (*holds)(const DavXml::Response&);
    bool givenTakes; // the address given, when it is one, is taken alone
    QByteArray makeMethod;
    QByteArray (*makeBody)(const QString& name);
    const char* madeError; // %1 the name, %2 the address, %3 why not
};

bool isAddressBook(const DavXml::Response& response)
{
    return response.isAddressBook;
}

const Collection kAddressBooks{
    Kind::AddressBooks,
    &isAddressBook,
    true,
    "MKCOL",
    &DavXml::makeAddressBook,
    QT_TRANSLATE_NOOP("Discovery", "Making the address book \"%1\" at %2: %3"),
};
const Collection kTaskLists{
    Kind::TaskLists, &holdsTasks,           false,
    "MKCALENDAR",    &DavXml::makeTaskList, QT_TRANSLATE_NOOP("Discovery", "Making the task list \"%1\" at %2: %3"),
};

// The collections of that kind: the address given where it is one that is taken alone, else those in the user's
// home.
Discovery::Result findIn(DavClient& client, const QUrl& start, const Collection& collection)
{
    Discovery::Result result;
    if (const QString refused = DavClient::refusal(start); !refused.isEmpty()) {
        result.error = refused;
        return result;
    }
    QString error;
    DavClient::Reply reply;
    DavXml::Multistatus answer = propfind(client, start, 0, error, &reply, collection.kind);
    if (reply.status == 401) {
        result.error = error;
        return result;
    }
    for (const DavXml::Response& response : answer.responses) {
        if (collection.givenTakes && collection.holds(response)) {
            result.given = true;
            result.books.append(
                {reply.url, response.displayName.isEmpty() ? lastPart(reply.url) : response.displayName});
            return result;
        }
    }
    result.home = findHome(client, start, collection.kind, answer, error);
    if (result.home.isEmpty()) {
        result.error = error;
        return result;
    }
    answer = propfind(client, result.home, 1, error, nullptr, collection.kind);
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    for (const DavXml::Response& response : answer.responses) {
        if (!collection.holds(response))
            continue;
        const QUrl url = result.home.resolved(QUrl(response.href));
        result.books.append({url, response.displayName.isEmpty() ? lastPart(url) : response.displayName});
    }
    return result;
}

// The collection `name` made in `home`; its address, or an empty one with `error` set.
QUrl make(DavClient& client, const QUrl& home, const QString& name, const Collection& collection, QString& error)
{
    QString path = home.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    QUrl url = home;
    url.setPath(path + name.toLower() + QLatin1Char('/'));
    const DavClient::Reply reply = client.send(collection.makeMethod, url, collection.makeBody(name));
    if (reply.status == 201)
        return url;
    error = QCoreApplication::translate("Discovery", collection.madeError)
                .arg(name, url.toDisplayString(), reply.explained());
    return {};
}

} // namespace

Discovery::Result Discovery::find(DavClient& client, const QUrl& start)
{
    return findIn(client, start, kAddressBooks);
}

Discovery::Result Discovery::findTaskLists(DavClient& client, const QUrl& start)
{
    return findIn(client, start, kTaskLists);
}

QUrl Discovery::create(DavClient& client, const QUrl& home, const QString& name, QString& error)
{
    return make(client, home, name, kAddressBooks, error);
}

QUrl Discovery::createTaskList(DavClient& client, const QUrl& home, const QString& name, QString& error)
{
    return make(client, home, name, kTaskLists, error);
}
