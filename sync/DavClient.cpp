#include "DavClient.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QThread>
#include <QTimer>

namespace {

bool sameOrigin(const QUrl& a, const QUrl& b)
{
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == QLatin1String("https") ? 443 : 80) ==
               b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

} // namespace

DavClient::DavClient(const QUrl& server, const QString& user, const QString& password)
    : m_server(server), m_authorization("Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64())
{
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // Credentials are sent by this class alone, to the server's own origin: Qt's cache would offer them elsewhere.
    m_network.setStrictTransportSecurityEnabled(false);
}

QString DavClient::normalized(const QString& sha256)
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

QString DavClient::refusal(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return {};
    if (scheme != QLatin1String("http"))
        return QStringLiteral("\"%1\" is no http or https address").arg(url.toDisplayString());
    const QString host = url.host();
    if (host == QLatin1String("localhost") || QHostAddress(host).isLoopback())
        return {};
    return QStringLiteral("\"%1\" is not encrypted: only https is used, except on this machine")
        .arg(url.toDisplayString());
}

DavClient::Reply DavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                                 const Headers& headers)
{
    Reply result;
    QUrl target = url;
    for (int hop = 0; hop <= 5; ++hop) {
        result.url = target;
        if (m_cancelled && m_cancelled()) {
            result.error = QStringLiteral("cancelled");
            return result;
        }
        if (const QString refused = refusal(target); !refused.isEmpty()) {
            result.error = refused;
            return result;
        }
        QNetworkRequest request(target);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        if (sameOrigin(target, m_server))
            request.setRawHeader("Authorization", m_authorization);
        for (const auto& [name, value] : headers)
            request.setRawHeader(name, value);
        if (!body.isEmpty() && !request.hasRawHeader("Content-Type"))
            request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
        QNetworkReply* reply = body.isEmpty() ? m_network.sendCustomRequest(request, method)
                                              : m_network.sendCustomRequest(request, method, body);
        QString refusedCertificate;
        QObject::connect(
            reply, &QNetworkReply::sslErrors, reply,
            [this, reply, &refusedCertificate](const QList<QSslError>& errors) {
                const QString digest = normalized(QString::fromLatin1(
                    reply->sslConfiguration().peerCertificate().digest(QCryptographicHash::Sha256).toHex()));
                if (!m_pinned.isEmpty() && digest == m_pinned)
                    reply->ignoreSslErrors(errors);
                else
                    refusedCertificate = digest;
            });
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QObject::connect(reply, &QNetworkReply::downloadProgress, &timer, [&timer, this] { timer.start(m_timeoutMs); });
        QObject::connect(&timer, &QTimer::timeout, &loop, [&timedOut, reply] {
            timedOut = true;
            reply->abort();
        });
        timer.start(m_timeoutMs);
        // A program that ends asks its sync thread to stop: the request is given up at once.
        QTimer stop;
        bool stopped = false;
        bool cancelled = false;
        QObject::connect(&stop, &QTimer::timeout, &loop, [&stopped, &cancelled, reply, this] {
            if (QThread::currentThread()->isInterruptionRequested()) {
                stopped = true;
                reply->abort();
            } else if (m_cancelled && m_cancelled()) {
                cancelled = true;
                reply->abort();
            }
        });
        stop.start(100);
        if (!reply->isFinished())
            loop.exec(m_cancelled ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        timer.stop();
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->isOpen() ? reply->readAll() : QByteArray();
        result.etag = QString::fromLatin1(reply->rawHeader("ETag"));
        const QNetworkReply::NetworkError error = reply->error();
        const QString errorText = reply->errorString();
        const QByteArray location = reply->rawHeader("Location");
        delete reply;
        if (stopped || cancelled) {
            result.status = 0;
            result.error = stopped ? QStringLiteral("the sync was stopped") : QStringLiteral("cancelled");
            return result;
        }
        if (timedOut) {
            result.status = 0;
            result.error = QStringLiteral("the server did not answer within %1 seconds").arg(m_timeoutMs / 1000);
            return result;
        }
        if (result.status == 0 && !refusedCertificate.isEmpty()) {
            m_untrusted = refusedCertificate;
            result.error = QStringLiteral("the server's certificate is not trusted by this system (SHA-256 %1)")
                               .arg(refusedCertificate);
            return result;
        }
        if (result.status == 0) {
            result.error = errorText;
            return result;
        }
        Q_UNUSED(error)
        const bool redirect = result.status == 301 || result.status == 302 || result.status == 303 ||
                              result.status == 307 || result.status == 308;
        if (!redirect)
            return result;
        if (location.isEmpty()) {
            result.error = QStringLiteral("redirect without a Location");
            return result;
        }
        target = target.resolved(QUrl::fromEncoded(location));
    }
    result.status = 0;
    result.error = QStringLiteral("too many redirects (a redirect loop)");
    return result;
}
