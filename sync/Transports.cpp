#include "sync/Transports.h"

#include "exchange/Modules.h"

#include <QCoreApplication>

namespace {

class Unavailable : public DavTransport
{
public:
    explicit Unavailable(QString why) : m_why(std::move(why)) {}
    End exchange(const Request&, Receiver&) override { return {m_why, {}}; }

private:
    QString m_why;
};

} // namespace

std::unique_ptr<DavTransport> Transports::network()
{
    QString whyNot;
    if (const Table* table = Modules::table<Table>(kModuleName, kEntry, kVersion, &whyNot))
        return table->network();
    return std::make_unique<Unavailable>(
        QCoreApplication::translate("Transports", "the network module could not be loaded: %1").arg(whyNot));
}
