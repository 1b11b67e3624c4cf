#pragma once

#include "sync/DavTransport.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

// HTTP for a CardDAV client, one request at a time, on the thread that owns it, through a DavTransport (Qt Network
// unless one is given): send() returns when the answer is whole or given up.
//
// Credentials go only to the server's own scheme, host and port. Redirects are followed by hand, at most five, with
// the same method and body (Qt would turn a PROPFIND into a GET); to another host they go without credentials.
// Plain HTTP is refused except on the loopback interface.
class DavClient
{
public:
    struct Reply
    {
        int status = 0; // HTTP status; 0 when no answer came (see error)
        QByteArray body;
        QString etag;  // the ETag header, quotes kept
        QUrl url;      // where the answer came from, after redirects
        QString error; // what went wrong when no usable answer came ("timed out", "redirect loop", ...)

        // ": " and the start of the answer, made harmless; empty when it holds no text.
        QString bodyLine() const;
        // Why the request failed, in words: the transport's error, a refused password or request, `missing` for a
        // 404 when given, else the status with the start of the answer.
        QString explained(const QString& missing = QString()) const;
    };
    using Headers = DavTransport::Headers;

    // `transport`, when given, is used instead of the network and must outlive the client.
    DavClient(const QUrl& server, const QString& user, const QString& password, DavTransport* transport = nullptr);
    ~DavClient();

    // Takes the body of a multistatus (207) answer as it comes, instead of the reply; false gives the answer up.
    using Sink = std::function<bool(const QByteArray& bytes)>;
    Reply send(const QByteArray& method, const QUrl& url, const QByteArray& body = {}, const Headers& headers = {},
               const Sink& multistatus = Sink());

    // The most an answer may bring, and the longest a request may take in all, however the bytes trickle in: past
    // either the request is given up. A card may be as large as an import file; an answer holds many.
    static constexpr qint64 kAnswerBytes = qint64(512) * 1024 * 1024;
    static constexpr int kDeadlineMs = 5 * 60 * 1000;
    void setLimits(qint64 answerBytes, int deadlineMs)
    {
        m_answerBytes = answerBytes;
        m_deadlineMs = deadlineMs;
    }

    // A certificate the system does not trust is accepted only when its SHA-256 digest is this one (hex, colons
    // allowed), which the user accepted once.
    void setPinnedCertificate(const QString& sha256) { m_pinned = normalized(sha256); }
    // The SHA-256 digest ("AB:CD:...") of the last certificate refused as untrusted; empty when none was.
    const QString& untrustedCertificate() const { return m_untrusted; }
    // Inline: the network module, which has none of this class's code, reads digests with it too.
    static QString normalized(const QString& sha256)
    {
        QString hex;
        for (const QChar c : sha256) {
            if (c.isLetterOrNumber())
                hex += c.toUpper();
        }
        QStringList pairs;
        for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
            pairs << hex.mid(i, 2);
        return pairs.join(QLatin1Char(':'));
    }

    // How long a request may go without a byte of its answer.
    void setTimeout(int ms) { m_timeoutMs = ms; }
    // For a window that waits for its answers: the window goes on taking input meanwhile, and a request is given up
    // (error "cancelled") as soon as `cancelled` says so, as is every request after it.
    void setCancel(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }

    // Why the address cannot be used (plain HTTP to another machine), or empty.
    static QString refusal(const QUrl& url);

private:
    std::unique_ptr<DavTransport> m_own;
    DavTransport* m_transport;
    QUrl m_server;
    QByteArray m_authorization;
    int m_timeoutMs = 30000;
    qint64 m_answerBytes = kAnswerBytes;
    int m_deadlineMs = kDeadlineMs;
    QString m_pinned;
    QString m_untrusted;
    std::function<bool()> m_cancelled;
};
