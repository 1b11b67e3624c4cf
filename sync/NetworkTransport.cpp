#include "sync/NetworkTransport.h"

#include "sync/DavClient.h"
#include "sync/Transports.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

namespace {

// What Qt holds of an answer before it is handed over: a server that sends faster than the sync reads waits.
constexpr qint64 kReadBuffer = 1024 * 1024;

} // namespace

NetworkTransport::NetworkTransport()
{
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // Credentials are sent by DavClient alone, to the server's own origin: Qt's cache would offer them elsewhere.
    m_network.setStrictTransportSecurityEnabled(false);
}

DavTransport::End NetworkTransport::exchange(const Request& wanted, Receiver& receiver)
{
    QNetworkRequest request(wanted.url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    for (const auto& [name, value] : wanted.headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = wanted.body.isEmpty() ? m_network.sendCustomRequest(request, wanted.method)
                                                 : m_network.sendCustomRequest(request, wanted.method, wanted.body);
    reply->setReadBufferSize(kReadBuffer);
    End end;
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply, &end, &wanted](const QList<QSslError>& errors) {
        const QString digest = DavClient::normalized(QString::fromLatin1(
            reply->sslConfiguration().peerCertificate().digest(QCryptographicHash::Sha256).toHex()));
        if (!wanted.pinnedCertificate.isEmpty() && digest == wanted.pinnedCertificate)
            reply->ignoreSslErrors(errors);
        else
            end.untrustedCertificate = digest;
    });
    QElapsedTimer clock;
    clock.start();
    bool headSeen = false;
    bool givenUp = false;
    const auto giveUp = [&givenUp, reply] {
        givenUp = true;
        reply->abort();
    };
    const auto head = [&] {
        if (headSeen || givenUp)
            return;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 0)
            return;
        headSeen = true;
        if (!receiver.head(status, reply->rawHeaderPairs(), clock.elapsed()))
            giveUp();
    };
    const auto body = [&] {
        head();
        if (!headSeen || givenUp)
            return;
        const QByteArray bytes = reply->readAll();
        if (!bytes.isEmpty() && !receiver.data(bytes, clock.elapsed()))
            giveUp();
    };
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, head);
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, body);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!givenUp && !receiver.wait(clock.elapsed()))
            giveUp();
    });
    tick.start(100);
    if (!reply->isFinished())
        loop.exec(wanted.takesInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    tick.stop();
    if (!givenUp)
        body();
    // An error of the network itself (not an HTTP status) after the head: the body was cut short.
    const bool cut =
        reply->error() > QNetworkReply::NoError && reply->error() < QNetworkReply::ProxyConnectionRefusedError;
    if (!givenUp && (!headSeen || cut))
        end.error = reply->errorString();
    delete reply;
    return end;
}

namespace {

std::unique_ptr<DavTransport> network()
{
    return std::make_unique<NetworkTransport>();
}

const Transports::Table kTable{Transports::kVersion, network};

} // namespace

extern "C" Q_DECL_EXPORT const Transports::Table* tovrin_network()
{
    return &kTable;
}
