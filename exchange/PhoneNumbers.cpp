#include "exchange/PhoneNumbers.h"

#include "exchange/PhoneRules.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMutex>
#include <QSettings>

namespace {

constexpr int kDigits = 10;
// No telephone number is longer (libphonenumber's own bound is 250 characters) or has more digits: a longer text is
// no number, and is told without the library, whose parse takes time growing with the square of the text's length.
constexpr int kLongestText = 250;
constexpr int kMostDigits = 20;

bool beyondAnyNumber(const QString& text, const QString& digits)
{
    return text.size() > kLongestText || digits.size() > kMostDigits;
}

QString masked(const QString& tenDigits)
{
    return tenDigits.left(3) + QStringLiteral(" - ") + tenDigits.mid(3);
}

const QString kRegionKey = QStringLiteral("Numbers/region");
QMutex s_regionLock;
QString s_region; // chosen for this run or before; empty: the locale's
bool s_regionRead = false;

// The user's settings of the program (~/.config/Tovrin/Tovrin.conf).
QSettings settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tovrin"), QStringLiteral("Tovrin"));
}

PhoneNumbers::Fitted notFitting(const QString& reason)
{
    return {PhoneNumbers::untypedMask(), false, reason};
}

} // namespace

QString PhoneNumbers::untypedMask()
{
    return QStringLiteral("___ - _______");
}

QString PhoneNumbers::localeRegion()
{
    const QLocale::Territory territory = QLocale().territory();
    const QString code = territory == QLocale::AnyTerritory ? QString() : QLocale::territoryToCode(territory);
    return code.size() == 2 ? code : QStringLiteral("ZZ");
}

QString PhoneNumbers::defaultRegion()
{
    // Read by every import and by the sync's thread: the choice is read from the settings once, under a lock.
    const QMutexLocker lock(&s_regionLock);
    if (!s_regionRead) {
        s_region = settings().value(kRegionKey).toString();
        if (!knownRegions().contains(s_region))
            s_region.clear();
        s_regionRead = true;
    }
    return s_region.isEmpty() ? localeRegion() : s_region;
}

bool PhoneNumbers::setRegion(const QString& code, bool remember)
{
    const QString upper = code.toUpper();
    if (!upper.isEmpty() && !knownRegions().contains(upper))
        return false;
    const QMutexLocker lock(&s_regionLock);
    s_region = upper;
    s_regionRead = true;
    if (remember) {
        QSettings saved = settings();
        if (upper.isEmpty())
            saved.remove(kRegionKey);
        else
            saved.setValue(kRegionKey, upper);
    }
    return true;
}

QStringList PhoneNumbers::knownRegions()
{
    static const QStringList regions = [] {
        QStringList list;
        if (const PhoneRules::Table* rules = PhoneRules::table()) {
            std::vector<std::string> codes;
            rules->regions(&codes);
            for (const std::string& code : codes)
                list << QString::fromStdString(code);
        }
        return list;
    }();
    return regions;
}

bool PhoneNumbers::isBlank(const QString& text)
{
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            return false;
    }
    return true;
}

QString PhoneNumbers::digits(const QString& text)
{
    QString result;
    for (const QChar c : text) {
        if (c.isDigit())
            result += QChar(u'0' + c.digitValue());
    }
    return result;
}

PhoneNumbers::Fitted PhoneNumbers::toStored(const QString& text, const QString& region)
{
    if (isBlank(text))
        return {untypedMask(), true, QString()};

    // Ten digits are taken as they are: the library would drop the leading zero of any it finds no valid number
    // for, and an area code it does not know is still the user's. A plus or a letter says the digits alone are not
    // the whole story (a country code, a vanity number, an extension).
    bool plain = true;
    for (const QChar c : text) {
        if (c == u'+' || c.isLetter())
            plain = false;
    }
    const QString own = digits(text);
    if (beyondAnyNumber(text, own))
        return notFitting(QCoreApplication::translate("PhoneNumbers", "longer than any telephone number"));
    if (plain && own.size() == kDigits)
        return {masked(own), true, QString()};

    const PhoneRules::Table* rules = PhoneRules::table();
    if (!rules)
        return notFitting(QCoreApplication::translate("PhoneNumbers", "the telephone rules could not be loaded"));
    PhoneRules::Reading reading;
    rules->read(text.toStdString(), region.toStdString(), &reading);
    switch (reading.outcome) {
    case PhoneRules::Reading::NotANumber:
        return notFitting(QCoreApplication::translate("PhoneNumbers", "not a telephone number"));
    case PhoneRules::Reading::Unreadable:
        return notFitting(QCoreApplication::translate("PhoneNumbers", "not ten digits"));
    case PhoneRules::Reading::OtherCountry:
        return notFitting(QCoreApplication::translate("PhoneNumbers", "a number of another country"));
    case PhoneRules::Reading::Read:
        break;
    }

    const QString extension = QString::fromStdString(reading.extension);
    QString nationalDigits = digits(QString::fromStdString(reading.national));
    // A shorter national number (a nine-digit landline) goes in as the entry window stores it typed: from the left,
    // the rest of the mask untyped.
    if (nationalDigits.size() < kDigits && reading.valid)
        nationalDigits = nationalDigits.leftJustified(kDigits, QLatin1Char('_'));
    if (nationalDigits.size() != kDigits)
        return notFitting(QCoreApplication::translate("PhoneNumbers", "not ten digits"));
    return {masked(nationalDigits), true,
            extension.isEmpty() ? QString()
                                : QCoreApplication::translate("PhoneNumbers", "extension %1").arg(extension)};
}

QString PhoneNumbers::telUri(const QString& number, const QString& region)
{
    const PhoneRules::Table* rules = PhoneRules::table();
    if (!rules || number.isEmpty() || beyondAnyNumber(number, digits(number)))
        return QString();
    PhoneRules::Reading reading;
    rules->read(number.toStdString(), region.toStdString(), &reading);
    if (reading.outcome != PhoneRules::Reading::Read || !reading.extension.empty() || !reading.valid ||
        digits(QString::fromStdString(reading.national)) != digits(number))
        return QString();
    return QString::fromStdString(reading.uri);
}
