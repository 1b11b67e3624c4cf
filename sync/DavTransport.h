#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

// One HTTP exchange, below DavClient: a request goes out, and its answer is handed over as it comes, the status and
// headers first, then the body in pieces, with the time passing in between. DavClient decides on every piece and
// every moment whether to go on (a body too large, a server too slow, a cancelled sync), so a transport keeps
// nothing of an answer itself. NetworkTransport is the real one; the tests script one.
class DavTransport
{
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    struct Request
    {
        QByteArray method;
        QUrl url;
        QByteArray body;
        Headers headers;
        QString pinnedCertificate; // SHA-256 of an untrusted certificate the user accepted ("AB:CD:..."), or empty
        bool takesInput = false;   // a window waits for the answer and goes on taking input meanwhile
    };

    // What happens to an answer as it comes; each call returns false to give the request up at once.
    class Receiver
    {
    public:
        virtual ~Receiver() = default;
        // The status line and the headers; `ms` since the request went out.
        virtual bool head(int status, const Headers& headers, qint64 ms) = 0;
        virtual bool data(const QByteArray& bytes, qint64 ms) = 0;
        // While nothing comes: called at least every 100 ms.
        virtual bool wait(qint64 ms) = 0;
    };

    struct End
    {
        QString error;                // why no whole answer came (empty: it did, or the receiver gave it up)
        QString untrustedCertificate; // the digest of a certificate refused as untrusted
    };

    virtual ~DavTransport() = default;
    virtual End exchange(const Request& request, Receiver& receiver) = 0;
};
