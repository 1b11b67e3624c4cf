#include "VCardReader.h"

#include <QUrl>
#include <algorithm>

namespace {

const QString kPersonal = QStringLiteral("Personal");
const QString kBusiness = QStringLiteral("Business");

QString joinFilled(const QStringList& parts, const QString& separator)
{
    QStringList filled;
    for (const QString& part : parts) {
        if (!part.isEmpty())
            filled.append(part);
    }
    return filled.join(separator);
}

// The number as the card wrote it; of a tel: URI (4.0) the number and its extension, which is what a person types.
QString numberText(const VCardLine& line)
{
    QString text = line.value.trimmed();
    if (!text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        return text;
    const QStringList parts = text.sliced(4).split(QLatin1Char(';'));
    text = QUrl::fromPercentEncoding(parts.first().toUtf8());
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts.at(i).startsWith(QLatin1String("ext="), Qt::CaseInsensitive))
            text += QStringLiteral(" ext. ") + QUrl::fromPercentEncoding(parts.at(i).sliced(4).toUtf8());
    }
    return text.trimmed();
}

} // namespace

ReadResult VCardReader::read(const QByteArray& bytes, const QString& fallbackEncoding, bool* fallbackUsed)
{
    const VCardParser::Result parsed = VCardParser::parse(bytes, fallbackEncoding);
    if (fallbackUsed)
        *fallbackUsed = parsed.fallbackUsed;
    return contacts(parsed);
}

ReadResult VCardReader::contacts(const VCardParser::Result& parsed)
{
    ReadResult result;
    result.problems = parsed.problems;
    if (parsed.cards.isEmpty()) {
        result.problems.append(
            {0, QString(), QString(), QStringLiteral("nothing read: the file holds no vCard (no BEGIN:VCARD line)")});
    }
    for (const VCardParser::Card& card : parsed.cards) {
        if (std::optional<Contact> entry = contact(card, result.problems))
            result.contacts.append(*entry);
    }
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const ExchangeProblem& a, const ExchangeProblem& b) { return a.record < b.record; });
    return result;
}

std::optional<Contact> VCardReader::contact(const VCardParser::Card& card, QList<ExchangeProblem>& problems)
{
    const VCardLine* name = nullptr;
    const VCardLine* fullName = nullptr;
    const VCardLine* organisation = nullptr;
    const VCardLine* kind = nullptr;
    for (const VCardLine& line : card.lines) {
        if (line.name == QLatin1String("N") && !name)
            name = &line;
        else if (line.name == QLatin1String("FN") && !fullName)
            fullName = &line;
        else if (line.name == QLatin1String("ORG") && !organisation)
            organisation = &line;
        else if (line.name == QLatin1String("KIND") && !kind)
            kind = &line;
    }

    Contact entry;
    const QString shownName = fullName ? fullName->value.simplified() : QString();
    QString busName = organisation ? organisation->components.value(0).trimmed() : QString();
    if (busName.isEmpty() && kind && kind->value.trimmed().compare(QLatin1String("org"), Qt::CaseInsensitive) == 0)
        busName = shownName;
    entry.category = busName.isEmpty() ? kPersonal : kBusiness;
    entry.busName = busName.isEmpty() ? QStringLiteral(" ") : busName;

    if (name) {
        entry.lname = name->components.value(0).trimmed();
        entry.fname =
            joinFilled({name->components.value(1).trimmed(), name->components.value(2).trimmed()}, QStringLiteral(" "));
    }
    // A company's card often repeats its name in FN; that is no person's name.
    if (entry.fname.isEmpty() && entry.lname.isEmpty() && !shownName.isEmpty() &&
        shownName.compare(busName, Qt::CaseInsensitive) != 0) {
        const qsizetype space = shownName.lastIndexOf(QLatin1Char(' '));
        entry.lname = shownName.sliced(space + 1);
        entry.fname = space < 0 ? QString() : shownName.first(space);
    }

    bool haveAddress = false;
    for (const VCardLine& line : card.lines) {
        if (line.name == QLatin1String("ADR")) {
            QStringList parts;
            for (qsizetype i = 0; i < 7; ++i)
                parts.append(line.components.value(i).trimmed());
            const QString street = joinFilled({parts.at(2), parts.at(1), parts.at(0)}, QStringLiteral(", "));
            if (street.isEmpty() && parts.at(3).isEmpty() && parts.at(4).isEmpty() && parts.at(5).isEmpty())
                continue; // a country alone has no column
            if (haveAddress) {
                problems.append({card.number, line.name, joinFilled(parts, QStringLiteral(", ")),
                                 QStringLiteral("left out: the entry holds one address")});
                continue;
            }
            haveAddress = true;
            entry.address = street;
            entry.city = parts.at(3);
            entry.state = parts.at(4);
            entry.zip = parts.at(5);
        } else if (line.name == QLatin1String("TEL")) {
            const QString number = numberText(line);
            if (number.isEmpty())
                continue;
            QString room;
            if (line.hasType(QStringLiteral("CELL"))) {
                if (entry.pel.isEmpty())
                    entry.pel = number;
                else
                    room = QStringLiteral("one cellular number");
            } else if (line.hasType(QStringLiteral("FAX"))) {
                if (entry.fax.isEmpty())
                    entry.fax = number;
                else
                    room = QStringLiteral("one fax number");
            } else if (entry.tel1.isEmpty()) {
                entry.tel1 = number;
            } else if (entry.tel2.isEmpty()) {
                entry.tel2 = number;
            } else {
                room = QStringLiteral("two telephone numbers besides the cellular and the fax");
            }
            if (!room.isEmpty())
                problems.append({card.number, line.name, number, QStringLiteral("left out: the entry holds ") + room});
        }
    }

    const bool named = !entry.fname.isEmpty() || !entry.lname.isEmpty() || entry.category == kBusiness;
    const bool numbered =
        !entry.tel1.isEmpty() || !entry.tel2.isEmpty() || !entry.pel.isEmpty() || !entry.fax.isEmpty();
    if (!named && !numbered) {
        problems.append({card.number, QString(), entry.address,
                         QStringLiteral("left out: the card holds no name and no telephone number")});
        return std::nullopt;
    }
    return entry;
}
