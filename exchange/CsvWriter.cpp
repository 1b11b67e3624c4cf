#include "CsvWriter.h"

#include "PhoneNumbers.h"

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

QByteArray CsvWriter::contacts(const QList<Contact>& contacts)
{
    QStringList rows{row(contactHeader())};
    for (const Contact& c : contacts) {
        const bool business = c.category.compare(QLatin1String("Business"), Qt::CaseInsensitive) == 0;
        rows << row({c.category, c.fname, c.lname, business ? c.busName.trimmed() : QString(), c.address, c.city,
                     c.state, PhoneNumbers::digits(c.zip), PhoneNumbers::digits(c.tel1), PhoneNumbers::digits(c.tel2),
                     PhoneNumbers::digits(c.pel), PhoneNumbers::digits(c.fax)});
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
