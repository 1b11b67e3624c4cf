#include "app/Printing.h"

#include "data/DbError.h"
#include "exchange/Modules.h"

#include <QCoreApplication>

const Printing::Table& Printing::table()
{
    static QString whyNot;
    static const Table* const loaded = Modules::table<Table>(kModuleName, kEntry, kVersion, &whyNot);
    if (!loaded)
        throw DbError(-1, QCoreApplication::translate("Printing", "Printing is not available: %1").arg(whyNot));
    return *loaded;
}
