#include "exchange/PhoneNumbers.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMutex>
#include <QSettings>
#include <phonenumbers/phonenumberutil.h>
#include <set>

namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

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
        std::set<std::string> codes;
        PhoneNumberUtil::GetInstance()->GetSupportedRegions(&codes);
        QStringList list;
        for (const std::string& code : codes)
            list << QString::fromStdString(code);
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

    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    const std::string regionCode = region.toStdString();
    PhoneNumber number;
    const auto error = util->Parse(text.toStdString(), regionCode, &number);
    if (error == PhoneNumberUtil::NOT_A_NUMBER)
        return notFitting(QCoreApplication::translate("PhoneNumbers", "not a telephone number"));
    if (error != PhoneNumberUtil::NO_PARSING_ERROR)
        return notFitting(QCoreApplication::translate("PhoneNumbers", "not ten digits"));
    if (number.country_code() != util->GetCountryCodeForRegion(regionCode))
        return notFitting(QCoreApplication::translate("PhoneNumbers", "a number of another country"));

    const QString extension = QString::fromStdString(number.extension());
    number.clear_extension();
    std::string national;
    util->Format(number, PhoneNumberUtil::NATIONAL, &national);
    QString nationalDigits = digits(QString::fromStdString(national));
    // A shorter national number (a nine-digit landline) goes in as the entry window stores it typed: from the left,
    // the rest of the mask untyped.
    if (nationalDigits.size() < kDigits && util->IsValidNumber(number))
        nationalDigits = nationalDigits.leftJustified(kDigits, QLatin1Char('_'));
    if (nationalDigits.size() != kDigits)
        return notFitting(QCoreApplication::translate("PhoneNumbers", "not ten digits"));
    return {masked(nationalDigits), true,
            extension.isEmpty() ? QString()
                                : QCoreApplication::translate("PhoneNumbers", "extension %1").arg(extension)};
}

QString PhoneNumbers::telUri(const QString& number, const QString& region)
{
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    const std::string regionCode = region.toStdString();
    PhoneNumber parsed;
    if (number.isEmpty() || beyondAnyNumber(number, digits(number)) ||
        util->Parse(number.toStdString(), regionCode, &parsed) != PhoneNumberUtil::NO_PARSING_ERROR ||
        parsed.country_code() != util->GetCountryCodeForRegion(regionCode) || parsed.has_extension() ||
        !util->IsValidNumber(parsed))
        return QString();
    std::string national;
    util->Format(parsed, PhoneNumberUtil::NATIONAL, &national);
    if (digits(QString::fromStdString(national)) != digits(number))
        return QString();
    std::string uri;
    util->Format(parsed, PhoneNumberUtil::RFC3966, &uri);
    return QString::fromStdString(uri);
}
