#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

// The WebDAV answers a CardDAV client reads (207 Multi-Status), by namespace and local name: servers differ in
// prefixes ("D:", "ns0:", none), in where they put the sync token (before or after the responses) and in what the
// token looks like (a URI or any text).
namespace DavXml {

struct Response
{
    QString href;     // resolved against the request's URL, as a path
    int status = 200; // the response's own status, else that of the propstat holding the properties
    QString etag;     // quotes kept, as If-Match wants it back
    QByteArray addressData;
    bool isAddressBook = false;
    QString displayName;
    QString principal; // current-user-principal, resolved
    QString homeSet;   // addressbook-home-set, resolved
};

struct Multistatus
{
    QList<Response> responses;
    QString syncToken; // null when the answer has none
    QString error;     // empty when the body was read whole
};

Multistatus parse(const QByteArray& body, const QUrl& requestUrl);

// The bodies this client sends.
QByteArray propfind(const QStringList& davProps, const QStringList& cardProps);
QByteArray syncCollection(const QString& token);
QByteArray multiget(const QStringList& hrefs);
QByteArray makeAddressBook(const QString& name);

} // namespace DavXml
