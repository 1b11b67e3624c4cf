#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <optional>

// How the program reads and writes the date and time texts of the message log.
//
// The entry view shows a date as "##/##/##": two-digit day, month and year in the order of the user's short-date
// setting. Stored dates are ISO text (yyyy-MM-dd) so that ORDER BY sorts by the real date; stored times are
// HH:mm:ss on the 24-hour clock.
namespace DateRules {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The order of day, month and year in the locale's short date format (for example "d.M.yyyy" -> DayMonthYear).
DateOrder dateOrderOf(const QLocale& locale);

// A two-digit year means the year with those last two digits between 80 years before and 19 years after
// `today`'s year: with today in 2026, 02 is 2002, 30 is 2030, 45 is 2045 and 46 is 1946. Only the last two digits
// of `twoDigits` count; an invalid `today` stands for the current date.
int expandTwoDigitYear(int twoDigits, const QDate& today);

// The text for the date field: "dd/MM/yy" with the three parts in `order`, always eight characters; an invalid
// date gives the blank mask "__/__/__".
QString maskText(const QDate& date, DateOrder order);

// Reads a date typed by the user or handed over by the message window. Accepts, in this order:
//  - three numbers in `locale`'s order separated by "/", "." or "-" (one or two digits for day and month, two or
//    four for the year; a two-digit year follows expandTwoDigitYear), which covers the mask text "21/08/02" and
//    what the locale's own short format writes;
//  - the locale's short and long date formats as QLocale reads them (with the century rule for two-digit years);
//  - ISO yyyy-MM-dd.
// Leading and trailing spaces are ignored. Returns nothing when the text is no real date ("31/02/26", "__/__/__",
// "", "hello").
std::optional<QDate> parseDate(const QString& text, const QLocale& locale, const QDate& today);

// Reads a time of day: "H:mm", "H:mm:ss" on the 24-hour clock, or the same followed by an AM/PM marker (the
// locale's own texts or "AM"/"PM"/"am"/"pm", with or without a space; the hour is then 1 to 12, 12 AM being
// midnight), or the locale's long and short time formats.
// Returns nothing for a text that is no real time ("25:00:00", "12:60", "", "__:__").
std::optional<QTime> parseTime(const QString& text, const QLocale& locale);

// The stored forms.
QString storedDate(const QDate& date); // "yyyy-MM-dd"
QString storedTime(const QTime& time); // "HH:mm:ss"

// The locale's short forms the grids show ("Short Date", "Short Time"); an unreadable stored text is shown as is.
QString shortDate(const QString& stored, const QLocale& locale);
QString shortTime(const QString& stored, const QLocale& locale);

} // namespace DateRules
