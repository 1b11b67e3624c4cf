#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <limits>
#include <memory>

// The WebDAV answers a CardDAV client reads (207 Multi-Status), by namespace and local name: servers differ in
// prefixes ("D:", "ns0:", none), in where they put the sync token (before or after the responses) and in what the
// token looks like (a URI or any text).
namespace DavXml {

struct Response
{
    QString href;     // resolved against the request's URL, as a path (whole when on another host)
    int status = 200; // the response's own status, else that of the propstat holding the properties
    QString etag;     // quotes kept, as If-Match wants it back
    QByteArray addressData; // the card's address-data, or a task's calendar-data
    bool isAddressBook = false;
    QString displayName;
    QString principal;       // current-user-principal, resolved
    QString homeSet;         // addressbook-home-set, resolved
    QString calendarHomeSet; // calendar-home-set, resolved
    bool isCalendar = false;
    QStringList components; // supported-calendar-component-set ("VTODO", "VEVENT"); empty when not given (all)
    QString problem;        // why address-data sent for this card cannot be used (empty when it can)
};

struct Multistatus
{
    QList<Response> responses;
    QString syncToken; // null when the answer has none
    QString error;     // empty when the body was read whole
};

// Reads an answer as it comes, keeping only what it means: an address-data larger than `cardBytes` is not kept
// (its response's `problem` says so), nor is one holding a character XML does not allow, which spoils only that
// card. Nothing else of the body is kept.
class Reader
{
public:
    explicit Reader(qint64 cardBytes = std::numeric_limits<qint64>::max());
    ~Reader();
    // False once the answer cannot be read further (finish() then tells why).
    bool add(const QByteArray& bytes);
    // `requestUrl`: where the answer came from (after redirects), which relative hrefs are resolved against.
    Multistatus finish(const QUrl& requestUrl);

private:
    class Filter;
    struct State;
    void read();
    std::unique_ptr<State> m_state;
};

Multistatus parse(const QByteArray& body, const QUrl& requestUrl);

// The bodies this client sends.
QByteArray propfind(const QStringList& davProps, const QStringList& cardProps, const QStringList& calendarProps = {});
QByteArray syncCollection(const QString& token);
QByteArray multiget(const QStringList& hrefs);
// A calendar-multiget of the tasks at `hrefs` (their calendar-data comes as Response::addressData).
QByteArray taskMultiget(const QStringList& hrefs);
QByteArray makeAddressBook(const QString& name);
// A MKCALENDAR body making a calendar named `name` that holds tasks (VTODO) only.
QByteArray makeTaskList(const QString& name);

} // namespace DavXml
