#include "sync/Discovery.h"

#include "sync/DavXml.h"

namespace {

QString explained(const DavClient::Reply& reply)
{
    if (reply.status == 0)
        return reply.error;
    if (reply.status == 401)
        return QStringLiteral("the server refused the user name or password (401)");
    return QStringLiteral("the server answered %1").arg(reply.status);
}

DavXml::Multistatus propfind(DavClient& client, const QUrl& url, int depth, QString& error,
                             DavClient::Reply* raw = nullptr)
{
    const DavClient::Reply reply =
        client.send("PROPFIND", url,
                    DavXml::propfind({QStringLiteral("resourcetype"), QStringLiteral("displayname"),
                                      QStringLiteral("current-user-principal")},
                                     {QStringLiteral("addressbook-home-set")}),
                    {{"Depth", QByteArray::number(depth)}});
    if (raw)
        *raw = reply;
    if (reply.status != 207) {
        error = QStringLiteral("%1: %2").arg(url.toDisplayString(), explained(reply));
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

} // namespace

Discovery::Result Discovery::find(DavClient& client, const QUrl& start)
{
    Result result;
    if (const QString refused = DavClient::refusal(start); !refused.isEmpty()) {
        result.error = refused;
        return result;
    }
    QString error;
    DavClient::Reply reply;
    DavXml::Multistatus answer = propfind(client, start, 0, error, &reply);
    if (reply.status == 401) {
        result.error = error;
        return result;
    }
    QString principal;
    QString home;
    for (const DavXml::Response& response : answer.responses) {
        if (response.isAddressBook) {
            result.given = true;
            result.books.append(
                {reply.url, response.displayName.isEmpty() ? lastPart(reply.url) : response.displayName});
            return result;
        }
        if (principal.isEmpty())
            principal = response.principal;
        if (home.isEmpty())
            home = response.homeSet;
    }
    if (principal.isEmpty() && home.isEmpty()) {
        const QUrl known = start.resolved(QUrl(QStringLiteral("/.well-known/carddav")));
        answer = propfind(client, known, 0, error, &reply);
        for (const DavXml::Response& response : answer.responses) {
            if (principal.isEmpty())
                principal = response.principal;
            if (home.isEmpty())
                home = response.homeSet;
        }
    }
    if (home.isEmpty() && !principal.isEmpty()) {
        answer = propfind(client, start.resolved(QUrl(principal)), 0, error);
        for (const DavXml::Response& response : answer.responses) {
            if (home.isEmpty())
                home = response.homeSet;
        }
    }
    if (home.isEmpty()) {
        result.error = error.isEmpty()
                           ? QStringLiteral("%1 names no address books for this user").arg(start.toDisplayString())
                           : error;
        return result;
    }
    result.home = start.resolved(QUrl(home));
    error.clear();
    answer = propfind(client, result.home, 1, error);
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    for (const DavXml::Response& response : answer.responses) {
        if (!response.isAddressBook)
            continue;
        const QUrl url = result.home.resolved(QUrl(response.href));
        result.books.append({url, response.displayName.isEmpty() ? lastPart(url) : response.displayName});
    }
    return result;
}

QUrl Discovery::create(DavClient& client, const QUrl& home, const QString& name, QString& error)
{
    QString path = home.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    QUrl url = home;
    url.setPath(path + name.toLower() + QLatin1Char('/'));
    const DavClient::Reply reply = client.send("MKCOL", url, DavXml::makeAddressBook(name));
    if (reply.status != 201) {
        error = QStringLiteral("Making the address book \"%1\" at %2: %3")
                    .arg(name, url.toDisplayString(), explained(reply));
        return {};
    }
    return url;
}
