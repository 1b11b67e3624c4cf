#include "data/DateRules.h"

#include <QTest>

using DateRules::DateOrder;

Q_DECLARE_METATYPE(DateRules::DateOrder)

namespace {

// Every case runs against this day, never the clock: the century window moves with it.
const QDate today(2026, 6, 15);

} // namespace

class TestDateRules : public QObject
{
    Q_OBJECT

private slots:
    void dateOrderOf_data();
    void dateOrderOf();
    void expandTwoDigitYear_data();
    void expandTwoDigitYear();
    void maskText_data();
    void maskText();
    void parseDate_data();
    void parseDate();
    void maskTextReadsBack_data();
    void maskTextReadsBack();
    void parseTime_data();
    void parseTime();
    void storedForms();
    void shortDate_data();
    void shortDate();
    void shortTime_data();
    void shortTime();
};

void TestDateRules::dateOrderOf_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<DateOrder>("order");

    QTest::newRow("C") << QLocale("C") << DateOrder::DayMonthYear;
    QTest::newRow("en_US") << QLocale("en_US") << DateOrder::MonthDayYear;
    QTest::newRow("en_GB") << QLocale("en_GB") << DateOrder::DayMonthYear;
    QTest::newRow("he_IL") << QLocale("he_IL") << DateOrder::DayMonthYear;
    QTest::newRow("de_DE") << QLocale("de_DE") << DateOrder::DayMonthYear;
    QTest::newRow("ar_EG") << QLocale("ar_EG") << DateOrder::DayMonthYear;
    QTest::newRow("ja_JP") << QLocale("ja_JP") << DateOrder::YearMonthDay;
    QTest::newRow("sv_SE") << QLocale("sv_SE") << DateOrder::YearMonthDay;
    QTest::newRow("ko_KR") << QLocale("ko_KR") << DateOrder::YearMonthDay;
    QTest::newRow("hu_HU") << QLocale("hu_HU") << DateOrder::YearMonthDay;
}

void TestDateRules::dateOrderOf()
{
    QFETCH(QLocale, locale);
    QFETCH(DateOrder, order);
    QCOMPARE(DateRules::dateOrderOf(locale), order);
}

void TestDateRules::expandTwoDigitYear_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("twoDigits");
    QTest::addColumn<int>("year");

    QTest::newRow("02") << today << 2 << 2002;
    QTest::newRow("26") << today << 26 << 2026;
    QTest::newRow("30") << today << 30 << 2030;
    QTest::newRow("45 last in window") << today << 45 << 2045;
    QTest::newRow("46 first in window") << today << 46 << 1946;
    QTest::newRow("99") << today << 99 << 1999;
    QTest::newRow("00") << today << 0 << 2000;
    QTest::newRow("new year's eve keeps window") << QDate(2026, 12, 31) << 46 << 1946;
    QTest::newRow("2000: 19") << QDate(2000, 1, 1) << 19 << 2019;
    QTest::newRow("2000: 20") << QDate(2000, 1, 1) << 20 << 1920;
    QTest::newRow("1999: 18") << QDate(1999, 3, 1) << 18 << 2018;
    QTest::newRow("1999: 19") << QDate(1999, 3, 1) << 19 << 1919;
    QTest::newRow("2081: 00") << QDate(2081, 7, 1) << 0 << 2100;
    QTest::newRow("2081: 01") << QDate(2081, 7, 1) << 1 << 2001;
}

void TestDateRules::expandTwoDigitYear()
{
    QFETCH(QDate, day);
    QFETCH(int, twoDigits);
    QFETCH(int, year);
    QCOMPARE(DateRules::expandTwoDigitYear(twoDigits, day), year);
}

void TestDateRules::maskText_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<DateOrder>("order");
    QTest::addColumn<QString>("text");

    QTest::newRow("dmy") << QDate(2002, 8, 21) << DateOrder::DayMonthYear << "21/08/02";
    QTest::newRow("mdy") << QDate(2002, 8, 21) << DateOrder::MonthDayYear << "08/21/02";
    QTest::newRow("ymd") << QDate(2002, 8, 21) << DateOrder::YearMonthDay << "02/08/21";
    QTest::newRow("padding") << QDate(1999, 1, 5) << DateOrder::DayMonthYear << "05/01/99";
    QTest::newRow("century") << QDate(2100, 12, 31) << DateOrder::MonthDayYear << "12/31/00";
    QTest::newRow("invalid") << QDate() << DateOrder::DayMonthYear << "__/__/__";
}

void TestDateRules::maskText()
{
    QFETCH(QDate, date);
    QFETCH(DateOrder, order);
    QFETCH(QString, text);
    QCOMPARE(DateRules::maskText(date, order), text);
}

void TestDateRules::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDate>("date"); // invalid: no date expected

    const QDate none;
    QTest::newRow("mask dmy") << "21/08/02" << QLocale("en_GB") << QDate(2002, 8, 21);
    QTest::newRow("mask mdy") << "08/21/02" << QLocale("en_US") << QDate(2002, 8, 21);
    QTest::newRow("mask ymd") << "02/08/21" << QLocale("ja_JP") << QDate(2002, 8, 21);
    QTest::newRow("mask in wrong order") << "21/08/02" << QLocale("en_US") << none;
    QTest::newRow("spaces around") << "  21/08/02 " << QLocale("en_GB") << QDate(2002, 8, 21);
    QTest::newRow("dots") << "21.08.02" << QLocale("en_GB") << QDate(2002, 8, 21);
    QTest::newRow("one digit day and month") << "1/2/26" << QLocale("en_GB") << QDate(2026, 2, 1);
    QTest::newRow("four-digit year") << "21/08/1946" << QLocale("en_GB") << QDate(1946, 8, 21);
    QTest::newRow("four-digit year outside window") << "21/08/2090" << QLocale("en_GB") << QDate(2090, 8, 21);
    QTest::newRow("window end") << "21/08/45" << QLocale("en_GB") << QDate(2045, 8, 21);
    QTest::newRow("window start") << "21/08/46" << QLocale("en_GB") << QDate(1946, 8, 21);
    QTest::newRow("31 February") << "31/02/26" << QLocale("en_GB") << none;
    QTest::newRow("29 February leap") << "29/02/24" << QLocale("en_GB") << QDate(2024, 2, 29);
    QTest::newRow("29 February not leap") << "29/02/25" << QLocale("en_GB") << none;
    QTest::newRow("29 February 2000") << "29/02/00" << QLocale("en_GB") << QDate(2000, 2, 29);
    QTest::newRow("day 0") << "00/08/26" << QLocale("en_GB") << none;
    QTest::newRow("month 13") << "21/13/26" << QLocale("en_GB") << none;
    QTest::newRow("three-digit year") << "21/08/026" << QLocale("en_GB") << none;
    QTest::newRow("five-digit year") << "21/08/20260" << QLocale("en_GB") << none;
    QTest::newRow("blank mask") << "__/__/__" << QLocale("en_GB") << none;
    QTest::newRow("half mask") << "21/08/__" << QLocale("en_GB") << none;
    QTest::newRow("empty") << "" << QLocale("en_GB") << none;
    QTest::newRow("word") << "hello" << QLocale("en_GB") << none;
    QTest::newRow("en_US short") << "8/21/26" << QLocale("en_US") << QDate(2026, 8, 21);
    QTest::newRow("en_US long") << "Friday, August 21, 2026" << QLocale("en_US") << QDate(2026, 8, 21);
    QTest::newRow("en_GB short") << "21/08/2026" << QLocale("en_GB") << QDate(2026, 8, 21);
    QTest::newRow("en_GB long") << "Friday, 21 August 2026" << QLocale("en_GB") << QDate(2026, 8, 21);
    QTest::newRow("de_DE short") << "21.08.26" << QLocale("de_DE") << QDate(2026, 8, 21);
    QTest::newRow("he_IL short") << "21.8.2026" << QLocale("he_IL") << QDate(2026, 8, 21);
    QTest::newRow("ja_JP short") << "2026/08/21" << QLocale("ja_JP") << QDate(2026, 8, 21);
    QTest::newRow("C short") << "21 Aug 2026" << QLocale("C") << QDate(2026, 8, 21);
    // Read through QLocale's own "yy. M. d." format, which would give 1926.
    QTest::newRow("ko_KR short") << "26. 8. 21." << QLocale("ko_KR") << QDate(2026, 8, 21);
    QTest::newRow("iso") << "2026-08-21" << QLocale("en_US") << QDate(2026, 8, 21);
    QTest::newRow("iso dmy locale") << "2026-08-21" << QLocale("de_DE") << QDate(2026, 8, 21);
    QTest::newRow("iso invalid") << "2026-02-30" << QLocale("en_GB") << none;
}

void TestDateRules::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QLocale, locale);
    QFETCH(QDate, date);

    const std::optional<QDate> parsed = DateRules::parseDate(text, locale, today);
    QCOMPARE(parsed.has_value(), date.isValid());
    if (parsed)
        QCOMPARE(*parsed, date);
}

void TestDateRules::maskTextReadsBack_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("en_US") << QLocale("en_US");
    QTest::newRow("en_GB") << QLocale("en_GB");
    QTest::newRow("he_IL") << QLocale("he_IL");
    QTest::newRow("ja_JP") << QLocale("ja_JP");
}

void TestDateRules::maskTextReadsBack()
{
    QFETCH(QLocale, locale);
    for (const QDate& date : {QDate(1946, 1, 1), QDate(2002, 8, 21), QDate(2024, 2, 29), QDate(2045, 12, 31)}) {
        const QString text = DateRules::maskText(date, DateRules::dateOrderOf(locale));
        QCOMPARE(DateRules::parseDate(text, locale, today), std::optional<QDate>(date));
        const QString shown = locale.toString(date, QLocale::ShortFormat);
        QCOMPARE(DateRules::parseDate(shown, locale, today), std::optional<QDate>(date));
    }
}

void TestDateRules::parseTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QTime>("time"); // invalid: no time expected

    const QTime none;
    QTest::newRow("H:mm") << "9:05" << QLocale("C") << QTime(9, 5);
    QTest::newRow("HH:mm") << "13:05" << QLocale("de_DE") << QTime(13, 5);
    QTest::newRow("HH:mm:ss") << "13:05:07" << QLocale("de_DE") << QTime(13, 5, 7);
    QTest::newRow("midnight") << "00:00" << QLocale("C") << QTime(0, 0);
    QTest::newRow("last second") << " 23:59:59 " << QLocale("C") << QTime(23, 59, 59);
    QTest::newRow("12 AM") << "12:00 AM" << QLocale("en_US") << QTime(0, 0);
    QTest::newRow("12:30 PM") << "12:30 PM" << QLocale("en_US") << QTime(12, 30);
    QTest::newRow("1 PM") << "1:05 PM" << QLocale("en_US") << QTime(13, 5);
    QTest::newRow("no space") << "1:05PM" << QLocale("en_US") << QTime(13, 5);
    QTest::newRow("lower case") << "11:59:59 pm" << QLocale("C") << QTime(23, 59, 59);
    QTest::newRow("AM in a 24-hour locale") << "9:05 am" << QLocale("de_DE") << QTime(9, 5);
    QTest::newRow("en_GB am") << "12:15 am" << QLocale("en_GB") << QTime(0, 15);
    QTest::newRow("he_IL marker") << QString::fromUtf8("1:05 \xD7\x90\xD7\x97\xD7\x94\xD7\xB4\xD7\xA6")
                                  << QLocale("he_IL") << QTime(13, 5);
    QTest::newRow("ko_KR marker first") << QString::fromUtf8("\xEC\x98\xA4\xED\x9B\x84 1:05") << QLocale("ko_KR")
                                        << QTime(13, 5);
    QTest::newRow("hour 25") << "25:00:00" << QLocale("C") << none;
    QTest::newRow("hour 24") << "24:00" << QLocale("C") << none;
    QTest::newRow("minute 60") << "12:60" << QLocale("C") << none;
    QTest::newRow("13 PM") << "13:05 PM" << QLocale("en_US") << none;
    QTest::newRow("0 AM") << "0:30 AM" << QLocale("en_US") << none;
    QTest::newRow("one-digit minute") << "12:5" << QLocale("C") << none;
    QTest::newRow("three-digit minute") << "12:345" << QLocale("C") << none;
    QTest::newRow("unknown marker") << "1:05 XM" << QLocale("en_US") << none;
    QTest::newRow("blank mask") << "__:__" << QLocale("C") << none;
    QTest::newRow("empty") << "" << QLocale("C") << none;
}

void TestDateRules::parseTime()
{
    QFETCH(QString, text);
    QFETCH(QLocale, locale);
    QFETCH(QTime, time);

    const std::optional<QTime> parsed = DateRules::parseTime(text, locale);
    QCOMPARE(parsed.has_value(), time.isValid());
    if (parsed)
        QCOMPARE(*parsed, time);
}

void TestDateRules::storedForms()
{
    QCOMPARE(DateRules::storedDate(QDate(2026, 8, 21)), QStringLiteral("2026-08-21"));
    QCOMPARE(DateRules::storedDate(QDate(987, 1, 2)), QStringLiteral("0987-01-02"));
    QCOMPARE(DateRules::storedTime(QTime(9, 5, 7)), QStringLiteral("09:05:07"));
    QCOMPARE(DateRules::storedTime(QTime(0, 0)), QStringLiteral("00:00:00"));
    // What is stored reads back through the ISO form whatever the locale.
    const QLocale us("en_US");
    QCOMPARE(DateRules::parseDate(DateRules::storedDate(QDate(1946, 8, 21)), us, today),
             std::optional<QDate>(QDate(1946, 8, 21)));
    QCOMPARE(DateRules::parseTime(DateRules::storedTime(QTime(21, 8, 2)), us), std::optional<QTime>(QTime(21, 8, 2)));
}

void TestDateRules::shortDate_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shown");

    QTest::newRow("en_US") << "2026-08-21" << QLocale("en_US") << "8/21/26";
    QTest::newRow("en_GB") << "2026-08-21" << QLocale("en_GB") << "21/08/2026";
    QTest::newRow("de_DE") << "2026-08-21" << QLocale("de_DE") << "21.08.26";
    QTest::newRow("C writes the month as a word: numeric instead") << "2026-08-21" << QLocale::c() << "21/08/2026";
    QTest::newRow("unreadable") << "21/08/2026" << QLocale("en_GB") << "21/08/2026";
    QTest::newRow("not a real day") << "2026-02-30" << QLocale("en_GB") << "2026-02-30";
    QTest::newRow("empty") << "" << QLocale("en_GB") << "";
}

void TestDateRules::shortDate()
{
    QFETCH(QString, stored);
    QFETCH(QLocale, locale);
    QFETCH(QString, shown);
    QCOMPARE(DateRules::shortDate(stored, locale), shown);
}

void TestDateRules::shortTime_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shown");

    QTest::newRow("en_US") << "13:05:07" << QLocale("en_US") << "1:05 PM";
    QTest::newRow("en_US midnight") << "00:30:00" << QLocale("en_US") << "12:30 AM";
    QTest::newRow("en_GB") << "13:05:07" << QLocale("en_GB") << "13:05";
    QTest::newRow("de_DE") << "09:05:07" << QLocale("de_DE") << "09:05";
    QTest::newRow("stored HH:mm") << "13:05" << QLocale("en_GB") << "13:05";
    QTest::newRow("C has seconds in its short form: dropped") << "13:05:07" << QLocale::c() << "13:05";
    QTest::newRow("unreadable") << "1 PM" << QLocale("en_GB") << "1 PM";
    QTest::newRow("not a real time") << "25:00:00" << QLocale("en_GB") << "25:00:00";
    QTest::newRow("empty") << "" << QLocale("en_GB") << "";
}

void TestDateRules::shortTime()
{
    QFETCH(QString, stored);
    QFETCH(QLocale, locale);
    QFETCH(QString, shown);
    QCOMPARE(DateRules::shortTime(stored, locale), shown);
}

QTEST_GUILESS_MAIN(TestDateRules)
#include "tst_daterules.moc"
