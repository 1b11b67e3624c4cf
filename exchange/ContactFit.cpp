#include "exchange/ContactFit.h"

#include "data/Book.h"
#include "data/Columns.h"
#include "exchange/StoredForms.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace {

const QString kPersonal = ::Book::Personal.name();
const QString kBusiness = ::Book::Business.name();
const QString kUntypedZip = QStringLiteral("_____");
constexpr const Columns::Column& kState = Columns::of(&Contact::state);
constexpr const Columns::Column& kZip = Columns::of(&Contact::zip);

// The postal codes of the states and territories of the United States and the provinces and territories of Canada,
// the two-letter codes the State column was made for.
// clang-format off
constexpr const char* kPostalCodes[][2] = {
    {"alabama", "AL"}, {"alaska", "AK"}, {"arizona", "AZ"}, {"arkansas", "AR"}, {"california", "CA"},
    {"colorado", "CO"}, {"connecticut", "CT"}, {"delaware", "DE"}, {"district of columbia", "DC"}, {"florida", "FL"},
    {"georgia", "GA"}, {"hawaii", "HI"}, {"idaho", "ID"}, {"illinois", "IL"}, {"indiana", "IN"}, {"iowa", "IA"},
    {"kansas", "KS"}, {"kentucky", "KY"}, {"louisiana", "LA"}, {"maine", "ME"}, {"maryland", "MD"},
    {"massachusetts", "MA"}, {"michigan", "MI"}, {"minnesota", "MN"}, {"mississippi", "MS"}, {"missouri", "MO"},
    {"montana", "MT"}, {"nebraska", "NE"}, {"nevada", "NV"}, {"new hampshire", "NH"}, {"new jersey", "NJ"},
    {"new mexico", "NM"}, {"new york", "NY"}, {"north carolina", "NC"}, {"north dakota", "ND"}, {"ohio", "OH"},
    {"oklahoma", "OK"}, {"oregon", "OR"}, {"pennsylvania", "PA"}, {"rhode island", "RI"}, {"south carolina", "SC"},
    {"south dakota", "SD"}, {"tennessee", "TN"}, {"texas", "TX"}, {"utah", "UT"}, {"vermont", "VT"},
    {"virginia", "VA"}, {"washington", "WA"}, {"west virginia", "WV"}, {"wisconsin", "WI"}, {"wyoming", "WY"},
    {"american samoa", "AS"}, {"guam", "GU"}, {"northern mariana islands", "MP"}, {"puerto rico", "PR"},
    {"united states virgin islands", "VI"}, {"u.s. virgin islands", "VI"}, {"alberta", "AB"},
    {"british columbia", "BC"}, {"manitoba", "MB"}, {"new brunswick", "NB"}, {"newfoundland and labrador", "NL"},
    {"newfoundland", "NL"}, {"nova scotia", "NS"}, {"northwest territories", "NT"}, {"nunavut", "NU"},
    {"ontario", "ON"}, {"prince edward island", "PE"}, {"quebec", "QC"}, {"québec", "QC"}, {"saskatchewan", "SK"},
    {"yukon", "YT"}
};
// clang-format on

QString postalCodeOf(const QString& name)
{
    static const QHash<QString, QString> codes = [] {
        QHash<QString, QString> h;
        for (const auto& [state, code] : kPostalCodes)
            h.insert(QString::fromUtf8(state), QLatin1String(code));
        return h;
    }();
    return codes.value(name.simplified().toLower());
}

// A line break cannot be shown or typed in the entry window's one-line boxes: lines become parts of one line.
QString oneLine(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\\s*[\\r\\n\\x{2028}\\x{2029}]+\\s*"));
    QStringList parts = text.trimmed().split(breaks, Qt::SkipEmptyParts);
    return parts.join(QStringLiteral(", "));
}

class Fitter
{
public:
    Fitter(int record, ContactFit::Result& result) : m_record(record), m_result(result) {}

    void report(const QString& field, const QString& value, const QString& action)
    {
        m_result.problems.append({m_record, field, value, action});
    }

    QString text(const Columns::Column& column, const QString& raw)
    {
        const QString value = raw.trimmed();
        const int width = column.width;
        const QString kept = ContactFit::cut(value, width);
        if (kept.size() == value.size())
            return value;
        report(column.columnName(), raw,
               QCoreApplication::translate("ContactFit", "cut to %n characters", nullptr, width));
        return kept.trimmed();
    }

    // A state's full name becomes its postal code; a name without one is left out, never cut into another
    // state's code ("New York" into "Ne").
    QString state(const QString& raw)
    {
        const QString value = raw.trimmed();
        const int width = kState.width;
        if (ContactFit::cut(value, width).size() == value.size())
            return value;
        if (const QString code = postalCodeOf(value); !code.isEmpty())
            return code;
        report(kState.columnName(), raw,
               QCoreApplication::translate("ContactFit", "left out: no %1-letter postal code for it").arg(width));
        return QString();
    }

    QString zip(const QString& raw)
    {
        const QString value = raw.trimmed();
        if (PhoneNumbers::isBlank(value))
            return kUntypedZip;
        // The entry window's own form, partly typed ("6100_") or whole, is what it would store.
        if (value.size() == kUntypedZip.size() && StoredForms::isMasked(value))
            return value;
        const QString digits = PhoneNumbers::digits(value);
        if (digits.size() == value.size() && digits.size() == kUntypedZip.size())
            return digits;
        // A ZIP+4 ("53202-1234") keeps its five digits; the four after them have no place.
        static const QRegularExpression zipPlus4(QStringLiteral("^(\\d{5})[- ](\\d{4})$"));
        if (const QRegularExpressionMatch plus4 = zipPlus4.match(value); plus4.hasMatch()) {
            report(kZip.columnName(), raw,
                   QCoreApplication::translate("ContactFit", "stored as %1, the +4 part %2 left out")
                       .arg(plus4.captured(1), plus4.captured(2)));
            return plus4.captured(1);
        }
        report(kZip.columnName(), raw, QCoreApplication::translate("ContactFit", "left out: not five digits"));
        return kUntypedZip;
    }

    QString telephone(const Columns::Column& column, const QString& raw, const QString& region)
    {
        // The entry window's own form, partly typed ("048 - 12_____") or whole, is what it would store.
        if (StoredForms::isMaskedNumber(raw))
            return raw;
        const PhoneNumbers::Fitted fitted = PhoneNumbers::toStored(raw, region);
        if (!fitted.fits)
            report(column.columnName(), raw,
                   QCoreApplication::translate("ContactFit", "left out: %1").arg(fitted.reason));
        else if (!fitted.reason.isEmpty())
            report(column.columnName(), raw,
                   QCoreApplication::translate("ContactFit", "stored as %1, %2 left out")
                       .arg(fitted.stored, fitted.reason));
        return fitted.stored;
    }

private:
    int m_record;
    ContactFit::Result& m_result;
};

} // namespace

ContactFit::Result ContactFit::fit(const Contact& raw, int record, const QString& region)
{
    Result result;
    Fitter fitter(record, result);
    Contact& c = result.contact;

    // Readers put U+FFFD where the file held what is no character (a NUL byte, half a UTF-16 surrogate pair, a byte
    // the encoding has none for); no value goes in with it unsaid.
    for (const Columns::Column& column : Columns::kAll) {
        const QString& value = raw.*column.field;
        if (const qsizetype replaced = value.count(QChar::ReplacementCharacter)) {
            fitter.report(column.columnName(), value,
                          replaced == 1 ? QCoreApplication::translate(
                                              "ContactFit",
                                              "a character that could not be read (a NUL byte, half a UTF-16 surrogate "
                                              "pair or a byte the encoding has no character for) replaced by U+FFFD "
                                              "(\uFFFD)")
                                        : QCoreApplication::translate(
                                              "ContactFit",
                                              "%n characters that could not be read (a NUL byte, half a UTF-16 "
                                              "surrogate pair or a byte the encoding has no character for) replaced "
                                              "by U+FFFD (\uFFFD)",
                                              nullptr, int(replaced)));
        }
    }

    // A category from elsewhere that is neither book goes by the same rule as a file without one: a company makes
    // the entry a business one.
    const QString company = raw.busName.trimmed();
    const QString category = raw.category.trimmed();
    if (category.compare(kPersonal, Qt::CaseInsensitive) == 0) {
        c.category = kPersonal;
    } else if (category.compare(kBusiness, Qt::CaseInsensitive) == 0) {
        c.category = kBusiness;
    } else {
        c.category = company.isEmpty() ? kPersonal : kBusiness;
        if (!category.isEmpty())
            fitter.report(Columns::of(&Contact::category).columnName(), raw.category,
                          QCoreApplication::translate("ContactFit", "stored as %1").arg(c.category));
    }

    // The entry window stores one space as the company of every personal entry.
    if (c.category == kBusiness) {
        c.busName = fitter.text(Columns::of(&Contact::busName), raw.busName);
    } else {
        c.busName = QStringLiteral(" ");
        if (!company.isEmpty())
            fitter.report(Columns::of(&Contact::busName).columnName(), raw.busName,
                          QCoreApplication::translate("ContactFit", "left out: a personal entry has no company"));
    }

    c.fname = fitter.text(Columns::of(&Contact::fname), raw.fname);
    c.lname = fitter.text(Columns::of(&Contact::lname), raw.lname);
    c.address = fitter.text(Columns::of(&Contact::address), oneLine(raw.address));
    c.city = fitter.text(Columns::of(&Contact::city), oneLine(raw.city));
    c.state = fitter.state(raw.state);
    c.zip = fitter.zip(raw.zip);
    for (const Columns::Column& column : Columns::kAll) {
        if (column.mask == Columns::kTelephoneMask)
            c.*column.field = fitter.telephone(column, raw.*column.field, region);
    }

    const QString mask = PhoneNumbers::untypedMask();
    result.empty = c.fname.isEmpty() && c.lname.isEmpty() && c.busName.trimmed().isEmpty() && c.address.isEmpty() &&
                   c.city.isEmpty() && c.state.isEmpty() && c.zip == kUntypedZip && c.tel1 == mask && c.tel2 == mask &&
                   c.pel == mask && c.fax == mask;
    if (result.empty)
        fitter.report(QString(), QString(), QCoreApplication::translate("ContactFit", "left out: nothing to store"));
    return result;
}

QString ContactFit::cut(const QString& text, int width)
{
    // Cheap answer for the usual short value: no more UTF-16 units than the width means no more code points.
    if (text.size() <= width)
        return text;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype kept = 0;
    int codePoints = 0;
    for (qsizetype next = graphemes.toNextBoundary(); next > 0; next = graphemes.toNextBoundary()) {
        for (qsizetype i = kept; i < next; ++i) {
            if (!text.at(i).isLowSurrogate())
                ++codePoints;
        }
        if (codePoints > width)
            break;
        kept = next;
    }
    return text.left(kept);
}
