#pragma once

#include "sync/DavTransport.h"

#include <QNetworkAccessManager>

// HTTP through Qt Network, on the thread that owns it: exchange() waits in an event loop of its own, so the sync
// reads as a sequence of requests and never blocks another thread's windows. Redirects are not followed here
// (DavClient does it by hand), nor is anything cached.
class NetworkTransport : public DavTransport
{
public:
    NetworkTransport();
    End exchange(const Request& request, Receiver& receiver) override;

private:
    QNetworkAccessManager m_network;
};
