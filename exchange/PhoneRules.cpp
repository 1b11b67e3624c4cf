#include "exchange/PhoneRules.h"

#include "exchange/Modules.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

const PhoneRules::Table* load()
{
    QString whyNot;
    using PhoneRules::Table;
    if (const Table* table =
            Modules::table<Table>(PhoneRules::kModuleName, PhoneRules::kEntry, PhoneRules::kVersion, &whyNot))
        return table;
    const QString said = QCoreApplication::translate(
        "PhoneRules", "Tovrin: the telephone rules could not be loaded; numbers are read as ten digits only (%1)");
    std::fprintf(stderr, "%s\n", qPrintable(said.arg(whyNot)));
    return nullptr;
}

} // namespace

const PhoneRules::Table* PhoneRules::table()
{
    static const Table* const loaded = load();
    return loaded;
}
