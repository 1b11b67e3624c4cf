#include "sync/DavClient.h"

#include "sync/ServerText.h"
#include "sync/Transports.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>
#include <cstring>

#ifdef Q_OS_WIN
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace {

// An address of this machine's loopback interface: 127.0.0.0/8, ::1, or 127.x mapped into IPv6.
bool isLoopback(const QString& host)
{
    const QByteArray text = host.toLatin1();
    unsigned char address[16] = {};
    if (inet_pton(AF_INET, text.constData(), address) == 1)
        return address[0] == 127;
    if (inet_pton(AF_INET6, text.constData(), address) != 1)
        return false;
    static const unsigned char loopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    static const unsigned char mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    return std::memcmp(address, loopback, 16) == 0 || (std::memcmp(address, mapped, 12) == 0 && address[12] == 127);
}

bool sameOrigin(const QUrl& a, const QUrl& b)
{
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == QLatin1String("https") ? 443 : 80) ==
               b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

} // namespace

DavClient::DavClient(const QUrl& server, const QString& user, const QString& password, DavTransport* transport)
    : m_own(transport ? nullptr : Transports::network()), m_transport(transport ? transport : m_own.get()),
      m_server(server), m_authorization("Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64())
{
}

DavClient::~DavClient() = default;

QString DavClient::refusal(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return {};
    if (scheme != QLatin1String("http"))
        return QCoreApplication::translate("DavClient", "\"%1\" is no http or https address")
            .arg(url.toDisplayString());
    const QString host = url.host();
    if (host == QLatin1String("localhost") || isLoopback(host))
        return {};
    return QCoreApplication::translate("DavClient",
                                       "\"%1\" is not encrypted: only https is used, except on this machine")
        .arg(url.toDisplayString());
}

namespace {

// Takes an answer as the transport hands it over, and gives it up when the sync is stopped or cancelled, or the
// server has been silent too long.
class Collector : public DavTransport::Receiver
{
public:
    Collector(DavClient::Reply& reply, int silenceMs, qint64 mostBytes, int deadlineMs,
              const std::function<bool()>& cancelled, const DavClient::Sink& sink)
        : m_reply(reply), m_silenceMs(silenceMs), m_mostBytes(mostBytes), m_deadlineMs(deadlineMs),
          m_cancelled(cancelled), m_sink(sink)
    {
    }
    bool head(int status, const DavTransport::Headers& headers, qint64 ms) override
    {
        m_reply.status = status;
        for (const auto& [name, value] : headers) {
            if (name.compare("ETag", Qt::CaseInsensitive) == 0)
                m_reply.etag =
                    ServerText::shown(value) == QString::fromUtf8(value) ? QString::fromUtf8(value) : QString();
            else if (name.compare("Location", Qt::CaseInsensitive) == 0)
                location = value;
        }
        m_last = ms;
        return wait(ms);
    }
    bool data(const QByteArray& bytes, qint64 ms) override
    {
        m_bytes += bytes.size();
        if (m_bytes > m_mostBytes) {
            why = QCoreApplication::translate("DavClient", "the server's answer was larger than %1 MB; it was not read")
                      .arg(m_mostBytes >> 20);
            return false;
        }
        if (m_sink && m_reply.status == 207) {
            if (!m_sink(bytes))
                return false; // the sink knows why
        } else {
            m_reply.body += bytes;
        }
        m_last = ms;
        return wait(ms);
    }
    bool wait(qint64 ms) override
    {
        // A program that ends asks its sync thread to stop: the request is given up at once.
        if (QThread::currentThread()->isInterruptionRequested())
            why = QCoreApplication::translate("DavClient", "the sync was stopped");
        else if (m_cancelled && m_cancelled())
            why = QStringLiteral("cancelled");
        else if (ms - m_last >= m_silenceMs)
            why = QCoreApplication::translate("DavClient", "the server did not answer within %1 seconds")
                      .arg(m_silenceMs / 1000);
        else if (ms >= m_deadlineMs)
            why = QCoreApplication::translate("DavClient",
                                              "the server took more than %1 seconds to answer, too slowly to wait for")
                      .arg(m_deadlineMs / 1000);
        return why.isEmpty();
    }

    QByteArray location;
    QString why; // why the answer was given up

private:
    DavClient::Reply& m_reply;
    int m_silenceMs;
    qint64 m_mostBytes;
    int m_deadlineMs;
    const std::function<bool()>& m_cancelled;
    const DavClient::Sink& m_sink;
    qint64 m_last = 0;
    qint64 m_bytes = 0;
};

} // namespace

DavClient::Reply DavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                                 const Headers& headers, const Sink& multistatus)
{
    Reply result;
    QUrl target = url;
    for (int hop = 0; hop <= 5; ++hop) {
        result = Reply();
        result.url = target;
        if (m_cancelled && m_cancelled()) {
            result.error = QStringLiteral("cancelled");
            return result;
        }
        if (const QString refused = refusal(target); !refused.isEmpty()) {
            result.error = refused;
            return result;
        }
        DavTransport::Request request{method, target, body, {}, m_pinned, bool(m_cancelled)};
        if (sameOrigin(target, m_server))
            request.headers.append(qMakePair(QByteArray("Authorization"), m_authorization));
        bool typed = false;
        for (const auto& header : headers) {
            request.headers.append(header);
            typed = typed || header.first.compare("Content-Type", Qt::CaseInsensitive) == 0;
        }
        if (!body.isEmpty() && !typed)
            request.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/xml; charset=utf-8")));
        Collector collector(result, m_timeoutMs, m_answerBytes, m_deadlineMs, m_cancelled, multistatus);
        const DavTransport::End end = m_transport->exchange(request, collector);
        if (!collector.why.isEmpty()) {
            result.status = 0;
            result.body.clear();
            result.error = collector.why;
            return result;
        }
        if (!end.error.isEmpty() || result.status == 0) {
            result.status = 0;
            result.body.clear();
            if (!end.untrustedCertificate.isEmpty()) {
                m_untrusted = end.untrustedCertificate;
                result.error = QCoreApplication::translate(
                                   "DavClient", "the server's certificate is not trusted by this system (SHA-256 %1)")
                                   .arg(end.untrustedCertificate);
            } else {
                result.error = ServerText::shown(end.error);
            }
            return result;
        }
        const bool redirect = result.status == 301 || result.status == 302 || result.status == 303 ||
                              result.status == 307 || result.status == 308;
        if (!redirect)
            return result;
        if (collector.location.isEmpty()) {
            result.error = QCoreApplication::translate("DavClient", "redirect without a Location");
            return result;
        }
        target = target.resolved(QUrl::fromEncoded(collector.location));
    }
    result.status = 0;
    result.error = QCoreApplication::translate("DavClient", "too many redirects (a redirect loop)");
    return result;
}

QString DavClient::Reply::bodyLine() const
{
    const QString text = ServerText::shown(body.left(200)).simplified();
    return text.isEmpty() ? QString() : QStringLiteral(": ") + text;
}

QString DavClient::Reply::explained(const QString& missing) const
{
    if (status == 0)
        return error;
    if (status == 401)
        return QCoreApplication::translate("DavClient", "the server refused the user name or password (401)");
    if (status == 403)
        return QCoreApplication::translate("DavClient", "the server does not allow it (403)");
    if (status == 404 && !missing.isEmpty())
        return missing;
    return QCoreApplication::translate("DavClient", "the server answered %1%2").arg(status).arg(bodyLine());
}
