#include "exchange/StoredForms.h"

#include "data/Columns.h"
#include "exchange/PhoneNumbers.h"

#include <QStringList>

namespace {

bool maskCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'_';
}

} // namespace

QString StoredForms::property(const QString& column)
{
    return QStringLiteral("X-TOVRIN-") + column.toUpper();
}

QString StoredForms::columnOf(const QString& property)
{
    if (!property.startsWith(QLatin1String("X-TOVRIN-"), Qt::CaseInsensitive))
        return QString();
    for (const Columns::Column& column : Columns::kAll) {
        if (column.masked() && property.compare(StoredForms::property(column.columnName()), Qt::CaseInsensitive) == 0)
            return column.columnName();
    }
    return QString();
}

bool StoredForms::isMasked(const QString& stored)
{
    // "### - #######" or "#####", each # a digit or the mask's blank.
    const bool number = stored.size() == 13 && stored.mid(3, 3) == QLatin1String(" - ");
    if (!number && stored.size() != 5)
        return false;
    bool digit = false;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (number && i >= 3 && i < 6)
            continue;
        if (!maskCharacter(stored.at(i)))
            return false;
        digit = digit || stored.at(i) != u'_';
    }
    return digit;
}

bool StoredForms::isMaskedNumber(const QString& stored)
{
    return stored.size() == 13 && isMasked(stored);
}

bool StoredForms::needed(const QString& stored)
{
    return isMasked(stored) && stored.contains(u'_');
}

bool StoredForms::agrees(const QString& stored, const QString& cardValue)
{
    for (const QChar c : cardValue) {
        if (c.isLetter() || c == u'+')
            return false;
    }
    return isMasked(stored) && PhoneNumbers::digits(stored) == PhoneNumbers::digits(cardValue);
}
