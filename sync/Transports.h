#pragma once

#include "sync/DavTransport.h"

#include <memory>

// HTTP through Qt Network lives in a module of its own (see exchange/Modules.h), loaded by the first sync: linked
// into the program, Qt Network and the Kerberos libraries under it would cost every start their loading.
namespace Transports {

struct Table
{
    int version;
    std::unique_ptr<DavTransport> (*network)();
};
constexpr int kVersion = 1;
constexpr const char* kEntry = "tovrin_network";
constexpr const char* kModuleName = "tovrin_network";

// The transport through Qt Network (NetworkTransport). Without its module: one whose every exchange fails, saying
// why, so that a sync reports it as it reports a server out of reach.
std::unique_ptr<DavTransport> network();

} // namespace Transports
