#include "exchange/CsvWriter.h"

#include "data/Book.h"
#include "exchange/PhoneNumbers.h"

namespace {

QByteArray file(const QStringList& rows)
{
    QString text;
    for (const QString& r : rows)
        text += r + QStringLiteral("\r\n");
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace

QString CsvWriter::row(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields) {
        const bool quote = field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
                           field.contains(u'\r') || field.startsWith(u' ') || field.endsWith(u' ');
        quoted << (quote ? u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"' : field);
    }
    return quoted.join(u',');
}

QStringList CsvWriter::contactHeader()
{
    return {QStringLiteral("Category"),    QStringLiteral("First Name"),   QStringLiteral("Last Name"),
            QStringLiteral("Company"),     QStringLiteral("Street"),       QStringLiteral("City"),
            QStringLiteral("State"),       QStringLiteral("Postal Code"),  QStringLiteral("Telephone 1"),
            QStringLiteral("Telephone 2"), QStringLiteral("Mobile Phone"), QStringLiteral("Fax")};
}

namespace {

// A number as text: with its digits grouped as the mask groups them, a spreadsheet takes it for text and keeps
// the leading zero.
QString numberText(const QString& stored)
{
    const QString digits = PhoneNumbers::digits(stored);
    return digits.size() > 3 ? digits.left(3) + u'-' + digits.mid(3) : digits;
}

bool isBusiness(const Contact& c)
{
    return c.category.compare(::Book::Business.name(), Qt::CaseInsensitive) == 0;
}

bool hasAddress(const Contact& c)
{
    return !c.address.trimmed().isEmpty() || !c.city.trimmed().isEmpty() || !c.state.trimmed().isEmpty() ||
           !PhoneNumbers::digits(c.zip).isEmpty();
}

// Google Contacts: numbered phones, each with its kind, and one typed address.
QStringList googleHeader()
{
    QStringList header{QStringLiteral("Name"),
                       QStringLiteral("Given Name"),
                       QStringLiteral("Family Name"),
                       QStringLiteral("Group Membership"),
                       QStringLiteral("Organization 1 - Name"),
                       QStringLiteral("Address 1 - Type"),
                       QStringLiteral("Address 1 - Street"),
                       QStringLiteral("Address 1 - City"),
                       QStringLiteral("Address 1 - Region"),
                       QStringLiteral("Address 1 - Postal Code")};
    for (int n = 1; n <= 4; ++n)
        header << QStringLiteral("Phone %1 - Type").arg(n) << QStringLiteral("Phone %1 - Value").arg(n);
    return header;
}

QStringList googleRow(const Contact& c)
{
    const bool business = isBusiness(c);
    const QString where = business ? QStringLiteral("Work") : QStringLiteral("Home");
    const bool address = hasAddress(c);
    QStringList fields{QStringList{c.fname.trimmed(), c.lname.trimmed()}.join(u' ').trimmed(),
                       c.fname,
                       c.lname,
                       QStringLiteral("* myContacts"),
                       business ? c.busName.trimmed() : QString(),
                       address ? where : QString(),
                       address ? c.address : QString(),
                       c.city,
                       c.state,
                       PhoneNumbers::digits(c.zip)};
    const std::pair<QString, const QString*> numbers[] = {{where, &c.tel1},
                                                          {where, &c.tel2},
                                                          {QStringLiteral("Mobile"), &c.pel},
                                                          {where + QStringLiteral(" Fax"), &c.fax}};
    int filled = 0;
    for (const auto& [type, value] : numbers) {
        if (const QString text = numberText(*value); !text.isEmpty()) {
            fields << type << text;
            ++filled;
        }
    }
    for (; filled < 4; ++filled)
        fields << QString() << QString();
    return fields;
}

// Outlook: a column for each kind of number and each group of address.
QStringList outlookHeader()
{
    return {QStringLiteral("First Name"),
            QStringLiteral("Last Name"),
            QStringLiteral("Company"),
            QStringLiteral("Home Street"),
            QStringLiteral("Home City"),
            QStringLiteral("Home State"),
            QStringLiteral("Home Postal Code"),
            QStringLiteral("Business Street"),
            QStringLiteral("Business City"),
            QStringLiteral("Business State"),
            QStringLiteral("Business Postal Code"),
            QStringLiteral("Home Phone"),
            QStringLiteral("Home Phone 2"),
            QStringLiteral("Business Phone"),
            QStringLiteral("Business Phone 2"),
            QStringLiteral("Mobile Phone"),
            QStringLiteral("Home Fax"),
            QStringLiteral("Business Fax"),
            QStringLiteral("Categories")};
}

QStringList outlookRow(const Contact& c)
{
    const bool business = isBusiness(c);
    const QStringList address{c.address, c.city, c.state, PhoneNumbers::digits(c.zip)};
    const QStringList none{QString(), QString(), QString(), QString()};
    const QStringList phones{numberText(c.tel1), numberText(c.tel2)};
    const QStringList noPhones{QString(), QString()};
    return QStringList{c.fname, c.lname, business ? c.busName.trimmed() : QString()} + (business ? none : address) +
           (business ? address : none) + (business ? noPhones : phones) + (business ? phones : noPhones) +
           QStringList{numberText(c.pel), business ? QString() : numberText(c.fax),
                       business ? numberText(c.fax) : QString(), c.category};
}

} // namespace

QByteArray CsvWriter::contacts(const QList<Contact>& contacts, Layout layout)
{
    QStringList rows{row(layout == Layout::Google    ? googleHeader()
                         : layout == Layout::Outlook ? outlookHeader()
                                                     : contactHeader())};
    for (const Contact& c : contacts) {
        if (layout == Layout::Google)
            rows << row(googleRow(c));
        else if (layout == Layout::Outlook)
            rows << row(outlookRow(c));
        else
            rows << row({c.category, c.fname, c.lname, isBusiness(c) ? c.busName.trimmed() : QString(), c.address,
                         c.city, c.state, PhoneNumbers::digits(c.zip), numberText(c.tel1), numberText(c.tel2),
                         numberText(c.pel), numberText(c.fax)});
    }
    return file(rows);
}

QByteArray CsvWriter::messages(const QList<MessageRow>& rows)
{
    QStringList lines{row({QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("From"), QStringLiteral("To"),
                           QStringLiteral("Message")})};
    for (const MessageRow& m : rows) {
        lines << row({m.date, m.time, m.from, m.to, m.text});
    }
    return file(lines);
}
