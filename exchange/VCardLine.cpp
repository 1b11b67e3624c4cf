#include "exchange/VCardLine.h"

bool VCardLine::hasType(const QString& type) const
{
    return parameters.value(QStringLiteral("TYPE")).contains(type, Qt::CaseInsensitive);
}
