#include "data/DateRules.h"

#include <QRegularExpression>
#include <cstdlib>

namespace DateRules {

namespace {

// Where the first day, month and year fields sit in a QLocale date format, and how many letters the year field
// has. Quoted literal text is skipped, and "ddd"/"dddd" are weekday names rather than the day.
struct FormatFields
{
    int day = -1;
    int month = -1;
    int year = -1;
    int yearLetters = 0;
};

FormatFields fieldsOf(const QString& format)
{
    FormatFields f;
    bool quoted = false;
    for (int i = 0; i < format.size();) {
        const QChar ch = format.at(i);
        if (ch == QLatin1Char('\'')) {
            quoted = !quoted;
            ++i;
            continue;
        }
        int run = 1;
        while (i + run < format.size() && format.at(i + run) == ch)
            ++run;
        if (!quoted) {
            if (ch == QLatin1Char('d') && run <= 2 && f.day < 0) {
                f.day = i;
            } else if (ch == QLatin1Char('M') && f.month < 0) {
                f.month = i;
            } else if (ch == QLatin1Char('y') && f.year < 0) {
                f.year = i;
                f.yearLetters = run;
            }
        }
        i += run;
    }
    return f;
}

// Reads ASCII digits at text[pos], at most one more than `maxDigits` so that the caller can reject a number that
// is too long without the value ever overflowing. Returns the count read (0 when none).
int readNumber(const QString& text, int& pos, int maxDigits, int& value)
{
    int n = 0;
    value = 0;
    while (pos < text.size() && n < maxDigits + 1) {
        const char16_t ch = text.at(pos).unicode();
        if (ch < u'0' || ch > u'9')
            break;
        value = value * 10 + (ch - u'0');
        ++pos;
        ++n;
    }
    return n;
}

bool isDateSeparator(QChar ch)
{
    return ch == QLatin1Char('/') || ch == QLatin1Char('.') || ch == QLatin1Char('-');
}

struct Numbers
{
    int value[3];
    int digits[3];
};

// Splits "n<sep>n<sep>n" with any of "/", "." and "-" as separators; each number has at most five digits, which
// is enough for the callers to reject it.
std::optional<Numbers> splitDateNumbers(const QString& text)
{
    Numbers n;
    int pos = 0;
    for (int part = 0; part < 3; ++part) {
        if (part > 0) {
            if (pos >= text.size() || !isDateSeparator(text.at(pos)))
                return std::nullopt;
            ++pos;
        }
        n.digits[part] = readNumber(text, pos, 4, n.value[part]);
        if (n.digits[part] == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    return n;
}

bool isDayOrMonth(const Numbers& n, int part)
{
    return n.digits[part] == 1 || n.digits[part] == 2;
}

bool isYear(const Numbers& n, int part)
{
    return n.digits[part] == 2 || n.digits[part] == 4;
}

QDate isoDate(const QString& text)
{
    const std::optional<Numbers> n = splitDateNumbers(text);
    if (!n || n->digits[0] != 4 || n->digits[1] != 2 || n->digits[2] != 2 || text.at(4) != QLatin1Char('-') ||
        text.at(7) != QLatin1Char('-'))
        return {};
    return QDate(n->value[0], n->value[1], n->value[2]);
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

DateOrder dateOrderOf(const QLocale& locale)
{
    const FormatFields f = fieldsOf(locale.dateFormat(QLocale::ShortFormat));
    if (f.year >= 0 && (f.day < 0 || f.year < f.day) && (f.month < 0 || f.year < f.month))
        return DateOrder::YearMonthDay;
    if (f.month >= 0 && f.day >= 0 && f.month < f.day)
        return DateOrder::MonthDayYear;
    return DateOrder::DayMonthYear;
}

int expandTwoDigitYear(int twoDigits, const QDate& today)
{
    const int yy = ((twoDigits % 100) + 100) % 100;
    const int thisYear = today.isValid() ? today.year() : QDate::currentDate().year();
    const int earliest = thisYear - 80;
    const int century = earliest - (((earliest % 100) + 100) % 100);
    const int year = century + yy;
    return year < earliest ? year + 100 : year;
}

QString maskText(const QDate& date, DateOrder order)
{
    if (!date.isValid())
        return QStringLiteral("__/__/__");
    const QString d = twoDigits(date.day());
    const QString m = twoDigits(date.month());
    const QString y = twoDigits(std::abs(date.year()) % 100);
    const QString slash = QStringLiteral("/");
    switch (order) {
    case DateOrder::MonthDayYear:
        return m + slash + d + slash + y;
    case DateOrder::YearMonthDay:
        return y + slash + m + slash + d;
    case DateOrder::DayMonthYear:
        break;
    }
    return d + slash + m + slash + y;
}

std::optional<QDate> parseDate(const QString& text, const QLocale& locale, const QDate& today)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;

    // Once the text has the shape of three numbers in the user's order, it is read that way or not at all: the
    // locale's formats below would only misread it (Qt puts two-digit years into the 1900s).
    if (const std::optional<Numbers> n = splitDateNumbers(t)) {
        int dayPart = 0, monthPart = 1, yearPart = 2;
        switch (dateOrderOf(locale)) {
        case DateOrder::DayMonthYear:
            break;
        case DateOrder::MonthDayYear:
            dayPart = 1;
            monthPart = 0;
            break;
        case DateOrder::YearMonthDay:
            yearPart = 0;
            dayPart = 2;
            break;
        }
        if (isDayOrMonth(*n, dayPart) && isDayOrMonth(*n, monthPart) && isYear(*n, yearPart)) {
            const int year =
                n->digits[yearPart] == 2 ? expandTwoDigitYear(n->value[yearPart], today) : n->value[yearPart];
            const QDate date(year, n->value[monthPart], n->value[dayPart]);
            if (date.isValid())
                return date;
            return std::nullopt;
        }
    }

    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString format = locale.dateFormat(type);
        QDate date = locale.toDate(t, format);
        if (!date.isValid())
            continue;
        // Qt reads "yy" as 19yy. Re-dating keeps day and month, so only 29 February of a year 00 that Qt has
        // already rejected as 1900 is lost; the numeric forms above do not go through here.
        if (fieldsOf(format).yearLetters == 2)
            date = QDate(expandTwoDigitYear(date.year() % 100, today), date.month(), date.day());
        if (date.isValid())
            return date;
    }

    const QDate iso = isoDate(t);
    if (iso.isValid())
        return iso;
    return std::nullopt;
}

std::optional<QTime> parseTime(const QString& text, const QLocale& locale)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;

    int pos = 0;
    int hour = 0, minute = 0, second = 0;
    const int hourDigits = readNumber(t, pos, 2, hour);
    if (hourDigits >= 1 && hourDigits <= 2 && pos < t.size() && t.at(pos) == QLatin1Char(':')) {
        ++pos;
        bool shaped = readNumber(t, pos, 2, minute) == 2;
        if (shaped && pos < t.size() && t.at(pos) == QLatin1Char(':')) {
            ++pos;
            shaped = readNumber(t, pos, 2, second) == 2;
        }
        if (shaped) {
            const QString marker = t.mid(pos).trimmed();
            const auto is = [&marker](const QString& word) {
                return !word.isEmpty() && marker.compare(word, Qt::CaseInsensitive) == 0;
            };
            const bool am = is(QStringLiteral("AM")) || is(locale.amText());
            const bool pm = !am && (is(QStringLiteral("PM")) || is(locale.pmText()));
            if (marker.isEmpty() || am || pm) {
                if (am || pm) {
                    // On the 12-hour clock there is no hour 0 or 13: such a text is a typing error, not a time.
                    if (hour < 1 || hour > 12)
                        return std::nullopt;
                    hour = hour % 12 + (pm ? 12 : 0);
                }
                const QTime time(hour, minute, second);
                if (time.isValid())
                    return time;
                return std::nullopt;
            }
            // Anything else after the digits (a time zone, say) is left to the locale's own formats.
        }
    }

    for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
        const QTime time = locale.toTime(t, type);
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}

QString storedDate(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString storedTime(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString shortDate(const QString& stored, const QLocale& locale)
{
    const QDate date = isoDate(stored);
    if (!date.isValid())
        return stored;
    // Some locales (C among them) write the month as a word in their short form, which does not fit a narrow
    // column; those get the numeric form in the locale's own order.
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (format.contains(QStringLiteral("MMM"))) {
        switch (dateOrderOf(locale)) {
        case DateOrder::MonthDayYear:
            format = QStringLiteral("MM/dd/yyyy");
            break;
        case DateOrder::YearMonthDay:
            format = QStringLiteral("yyyy-MM-dd");
            break;
        default:
            format = QStringLiteral("dd/MM/yyyy");
        }
    }
    return locale.toString(date, format);
}

QString shortTime(const QString& stored, const QLocale& locale)
{
    // The stored form is HH:mm:ss; a bare HH:mm is read too. The short form shows hours and minutes, also in
    // locales whose short format carries seconds.
    QTime time = QTime::fromString(stored, QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(stored, QStringLiteral("HH:mm"));
    if (!time.isValid())
        return stored;
    QString format = locale.timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
    format.remove(seconds);
    return locale.toString(time, format);
}

} // namespace DateRules
