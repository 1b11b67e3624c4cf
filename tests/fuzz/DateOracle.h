#pragma once

// What must hold for any text the date and time readers accept, whatever the user's locale: the value can be
// stored, and every form the program shows it in (the stored text, the "##/##/##" mask, the grid's short form)
// reads back as the same value. The fuzzer and the corpus test run it on the same inputs.

#include "data/DateRules.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <string>
#include <string_view>

namespace DateOracle {

// Day/month/year in all three orders, Latin, Hebrew and Arabic texts, 12- and 24-hour clocks.
inline const QLocale& localeOf(unsigned char selector)
{
    static const QLocale locales[] = {QLocale(QLocale::C),
                                      QLocale(QStringLiteral("en_US")),
                                      QLocale(QStringLiteral("en_GB")),
                                      QLocale(QStringLiteral("de_DE")),
                                      QLocale(QStringLiteral("he_IL")),
                                      QLocale(QStringLiteral("ja_JP")),
                                      QLocale(QStringLiteral("fr_CA")),
                                      QLocale(QStringLiteral("ar_EG")),
                                      QLocale(QStringLiteral("sv_SE")),
                                      QLocale(QStringLiteral("hu_HU"))};
    return locales[selector % (sizeof(locales) / sizeof(locales[0]))];
}

// Days on which the century window has its edges in interesting places.
inline QDate todayOf(unsigned char selector)
{
    static const QDate days[] = {QDate(2026, 6, 15), QDate(2000, 1, 1), QDate(1999, 12, 31), QDate(2080, 2, 29)};
    return days[selector % (sizeof(days) / sizeof(days[0]))];
}

inline std::string describe(const char* what, const QString& text, const QLocale& locale)
{
    return std::string(what) + " (text \"" + text.toStdString() + "\", locale " + locale.name().toStdString() + ")";
}

inline std::string checkDate(const QString& text, const QLocale& locale, const QDate& today)
{
    const std::optional<QDate> date = DateRules::parseDate(text, locale, today);
    if (!date)
        return {};
    if (!date->isValid())
        return describe("parseDate accepted an invalid date", text, locale);
    // The file holds years 1 to 9999 as four digits. Qt's readers take "-2102" for a year, which the file then
    // refuses with a message when it is saved; it must never turn into a storable text of another date.
    static const QRegularExpression stored(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QString storedText = DateRules::storedDate(*date);
    const bool storable = date->year() >= 1 && date->year() <= 9999;
    if (stored.match(storedText).hasMatch() != storable)
        return describe("an accepted date has a stored form of another date", text, locale);
    if (!storable)
        return {};
    if (DateRules::parseDate(storedText, locale, today) != date)
        return describe("the stored form of an accepted date reads back differently", text, locale);

    const QString mask = DateRules::maskText(*date, DateRules::dateOrderOf(locale));
    const QDate expected(DateRules::expandTwoDigitYear(date->year() % 100, today), date->month(), date->day());
    const std::optional<QDate> fromMask = DateRules::parseDate(mask, locale, today);
    if (expected.isValid() ? fromMask != expected : fromMask.has_value())
        return describe("the mask text of an accepted date reads back differently", text, locale);

    // Within the century window a two-digit year is unambiguous, so the grid's text must give the date back.
    if (date->year() >= today.year() - 80 && date->year() <= today.year() + 19) {
        const QString shown = DateRules::shortDate(storedText, locale);
        if (DateRules::parseDate(shown, locale, today) != date)
            return describe("the grid's text of an accepted date reads back differently", text, locale);
    }
    return {};
}

inline std::string checkTime(const QString& text, const QLocale& locale)
{
    const std::optional<QTime> time = DateRules::parseTime(text, locale);
    if (!time)
        return {};
    if (!time->isValid())
        return describe("parseTime accepted an invalid time", text, locale);
    const QString storedText = DateRules::storedTime(*time);
    if (storedText.size() != 8)
        return describe("an accepted time has no stored form", text, locale);
    if (DateRules::parseTime(storedText, locale) != QTime(time->hour(), time->minute(), time->second()))
        return describe("the stored form of an accepted time reads back differently", text, locale);
    // The grid shows hours and minutes; those must survive an edit of the cell.
    const std::optional<QTime> shown = DateRules::parseTime(DateRules::shortTime(storedText, locale), locale);
    if (!shown || shown->hour() != time->hour() || shown->minute() != time->minute())
        return describe("the grid's text of an accepted time reads back differently", text, locale);
    return {};
}

// The input: a byte choosing the locale, a byte choosing today's date, then the text as UTF-8.
inline std::string check(std::string_view input)
{
    const unsigned char localeByte = input.size() > 0 ? static_cast<unsigned char>(input[0]) : 0;
    const unsigned char todayByte = input.size() > 1 ? static_cast<unsigned char>(input[1]) : 0;
    const std::string_view rest = input.size() > 2 ? input.substr(2) : std::string_view();
    const QString text = QString::fromUtf8(rest.data(), qsizetype(rest.size()));
    const QLocale& locale = localeOf(localeByte);
    std::string fault = checkDate(text, locale, todayOf(todayByte));
    if (fault.empty())
        fault = checkTime(text, locale);
    return fault;
}

} // namespace DateOracle
