#include "VCardReader.h"

#include "Book.h"
#include "PhoneNumbers.h"

#include <QUrl>
#include <array>
#include <optional>
#include <utility>

namespace {

const QString kPersonal = ::Book::Personal.name();
const QString kBusiness = ::Book::Business.name();

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

// What one card makes, read a line at a time: only the first of each naming property, the address and numbers
// that find room, and the problems of the card (at most ProblemList::kKept of them, the rest counted) are kept.
// An ADR's parts as the entry's columns take them, and the whole as a report shows it.
struct Address
{
    QString street, city, state, zip;
    QString shown;
};

class Mapper : public VCardParser::Sink
{
public:
    Mapper(ProblemList& problems, VCardReader::Take take) : m_problems(problems), m_take(std::move(take)) {}

    int cards() const { return m_cards; }

    bool wants(const QString& name) const override
    {
        return name == QLatin1String("N") || name == QLatin1String("FN") || name == QLatin1String("ORG") ||
               name == QLatin1String("KIND") || name == QLatin1String("ADR") || name == QLatin1String("TEL");
    }

    void line(const VCardParser::Card& card, const VCardLine& line) override
    {
        m_card.number = card.number;
        if (line.name == QLatin1String("N")) {
            if (!m_card.named) {
                m_card.named = true;
                m_card.entry.lname = line.components.value(0).trimmed();
                // The first name is the given name; the entry has no place for additional (middle) names.
                m_card.entry.fname = line.components.value(1).trimmed();
                if (const QString additional = line.components.value(2).trimmed(); !additional.isEmpty())
                    report(QStringLiteral("N"), additional, QStringLiteral("left out: the entry has no place for "
                                                                           "additional names"));
            }
        } else if (line.name == QLatin1String("FN")) {
            if (!m_card.fullName) {
                m_card.fullName = true;
                m_card.shownName = line.value.simplified();
            }
        } else if (line.name == QLatin1String("ORG")) {
            if (!m_card.organisation) {
                m_card.organisation = true;
                m_card.busName = line.components.value(0).trimmed();
            }
        } else if (line.name == QLatin1String("KIND")) {
            if (!m_card.kind) {
                m_card.kind = true;
                m_card.kindIsOrg = line.value.trimmed().compare(QLatin1String("org"), Qt::CaseInsensitive) == 0;
            }
        } else if (line.name == QLatin1String("ADR")) {
            address(line);
        } else if (line.name == QLatin1String("TEL")) {
            telephone(line);
        }
    }

    void cardEnded(const VCardParser::Card& card) override
    {
        m_card.number = card.number;
        ++m_cards;
        std::optional<Contact> entry = finish();
        m_problems.append(m_card.problems);
        m_card = Card();
        if (entry && m_take)
            m_take(std::move(*entry), card.number);
    }

private:
    // The card being read.
    struct Card
    {
        int number = 0;
        Contact entry;
        ProblemList problems; // the mapping's, after those of the card's syntax
        // Whether the number in tel1, tel2, pel, fax can be stored, once asked (a card may hold a million numbers).
        std::array<std::optional<bool>, 4> placeFits;
        QString shownName;    // FN
        QString busName;      // the first component of ORG
        bool named = false;   // an N was read
        bool fullName = false;
        bool organisation = false;
        bool kind = false;
        bool kindIsOrg = false;
        // The addresses that may be the entry's: the first, the first marked work, the first marked home; which
        // one is the entry's is known only at the card's end, when its book is.
        std::optional<Address> firstAddress, workAddress, homeAddress;
        // Numbers that take a telephone field only when the card's others leave one free: cellular numbers after
        // the first, then pagers. At most two can find room.
        QStringList laterCells, laterPagers;
    };

    void report(const QString& field, const QString& value, const QString& action)
    {
        m_card.problems.append({m_card.number, field, value, action});
    }

    void address(const VCardLine& line)
    {
        QStringList parts;
        for (qsizetype i = 0; i < 7; ++i)
            parts.append(line.components.value(i).trimmed());
        const QString street = joinFilled({parts.at(2), parts.at(1), parts.at(0)}, QStringLiteral(", "));
        if (street.isEmpty() && parts.at(3).isEmpty() && parts.at(4).isEmpty() && parts.at(5).isEmpty())
            return; // a country alone has no column
        const Address found{street, parts.at(3), parts.at(4), parts.at(5), joinFilled(parts, QStringLiteral(", "))};
        bool kept = false;
        for (auto [slot, wanted] : {std::pair{&m_card.firstAddress, true},
                                    std::pair{&m_card.workAddress, line.hasType(QStringLiteral("WORK"))},
                                    std::pair{&m_card.homeAddress, line.hasType(QStringLiteral("HOME"))}}) {
            if (wanted && !*slot) {
                *slot = found;
                kept = true;
            }
        }
        if (!kept)
            report(line.name, found.shown, QStringLiteral("left out: the entry holds one address"));
    }

    void telephone(const VCardLine& line)
    {
        const QString number = numberText(line);
        if (number.isEmpty())
            return;
        // A number that cannot be stored keeps no place from one that can: it gives way and is reported.
        Contact& entry = m_card.entry;
        const auto fits = [](const QString& text) {
            // Too few digits for any number is told without the library.
            return PhoneNumbers::digits(text).size() >= 5 && PhoneNumbers::toStored(text).fits;
        };
        const auto take = [&](QString& place, std::size_t slot) {
            if (!place.isEmpty()) {
                std::optional<bool>& held = m_card.placeFits[slot];
                if (!held)
                    held = fits(place);
                if (*held || !fits(number))
                    return false;
                report(line.name, place, QStringLiteral("left out: ") + PhoneNumbers::toStored(place).reason);
            }
            place = number;
            m_card.placeFits[slot].reset();
            return true;
        };
        QString room;
        const auto later = [&](QStringList& numbers) {
            if (numbers.size() < 2)
                numbers << number;
            else
                room = QStringLiteral("two telephone numbers besides the cellular and the fax");
        };
        if (line.hasType(QStringLiteral("PAGER"))) {
            later(m_card.laterPagers);
        } else if (line.hasType(QStringLiteral("CELL"))) {
            if (!take(entry.pel, 2))
                later(m_card.laterCells);
        } else if (line.hasType(QStringLiteral("FAX"))) {
            if (!take(entry.fax, 3))
                room = QStringLiteral("one fax number");
        } else if (entry.tel1.isEmpty() || entry.tel2.isEmpty()) {
            (entry.tel1.isEmpty() ? entry.tel1 : entry.tel2) = number;
        } else if (!take(entry.tel1, 0) && !take(entry.tel2, 1)) {
            room = QStringLiteral("two telephone numbers besides the cellular and the fax");
        }
        if (!room.isEmpty())
            report(line.name, number, QStringLiteral("left out: the entry holds ") + room);
    }

    std::optional<Contact> finish()
    {
        Contact& entry = m_card.entry;
        const QString& shownName = m_card.shownName;
        QString busName = m_card.busName;
        if (busName.isEmpty() && m_card.kindIsOrg)
            busName = shownName;
        entry.category = busName.isEmpty() ? kPersonal : kBusiness;
        entry.busName = busName.isEmpty() ? QStringLiteral(" ") : busName;

        // A business entry keeps the work address, a personal one the home address, else the first.
        const std::optional<Address>& preferred = busName.isEmpty() ? m_card.homeAddress : m_card.workAddress;
        const std::optional<Address>& chosen = preferred ? preferred : m_card.firstAddress;
        if (chosen) {
            entry.address = chosen->street;
            entry.city = chosen->city;
            entry.state = chosen->state;
            entry.zip = chosen->zip;
            QStringList reported{chosen->shown};
            for (const auto* other : {&m_card.firstAddress, &m_card.workAddress, &m_card.homeAddress}) {
                if (*other && !reported.contains((*other)->shown)) {
                    reported << (*other)->shown;
                    report(QStringLiteral("ADR"), (*other)->shown, QStringLiteral("left out: the entry holds one address"));
                }
            }
        }
        for (const QString& number : m_card.laterCells + m_card.laterPagers) {
            if (entry.tel1.isEmpty() || entry.tel2.isEmpty())
                (entry.tel1.isEmpty() ? entry.tel1 : entry.tel2) = number;
            else
                report(QStringLiteral("TEL"), number,
                       QStringLiteral("left out: the entry holds two telephone numbers besides the cellular and the fax"));
        }
        // A company's card often repeats its name in FN; that is no person's name.
        if (entry.fname.isEmpty() && entry.lname.isEmpty() && !shownName.isEmpty() &&
            shownName.compare(busName, Qt::CaseInsensitive) != 0) {
            const qsizetype space = shownName.lastIndexOf(QLatin1Char(' '));
            entry.lname = shownName.sliced(space + 1);
            entry.fname = space < 0 ? QString() : shownName.first(space);
        }

        const bool named = !entry.fname.isEmpty() || !entry.lname.isEmpty() || entry.category == kBusiness;
        const bool numbered =
            !entry.tel1.isEmpty() || !entry.tel2.isEmpty() || !entry.pel.isEmpty() || !entry.fax.isEmpty();
        if (!named && !numbered) {
            report(QString(), entry.address, QStringLiteral("left out: the card holds no name and no telephone number"));
            return std::nullopt;
        }
        return std::move(entry);
    }

    ProblemList& m_problems;
    VCardReader::Take m_take;
    int m_cards = 0;
    Card m_card;
};

} // namespace

bool VCardReader::read(const QByteArray& bytes, const QString& fallbackEncoding, const Take& take,
                       ProblemList& problems)
{
    Mapper mapper(problems, take);
    const bool fallbackUsed = VCardParser::parse(bytes, fallbackEncoding, mapper, problems);
    if (mapper.cards() == 0) {
        problems.append(
            {0, QString(), QString(), QStringLiteral("nothing read: the file holds no vCard (no BEGIN:VCARD line)")});
    }
    return fallbackUsed;
}

ReadResult VCardReader::read(const QByteArray& bytes, const QString& fallbackEncoding, bool* fallbackUsed)
{
    ReadResult result;
    const bool used = read(
        bytes, fallbackEncoding, [&result](Contact&& entry, int) { result.contacts.append(std::move(entry)); },
        result.problems);
    if (fallbackUsed)
        *fallbackUsed = used;
    return result;
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
    return result;
}

std::optional<Contact> VCardReader::contact(const VCardParser::Card& card, ProblemList& problems)
{
    std::optional<Contact> kept;
    Mapper mapper(problems, [&kept](Contact&& entry, int) { kept = std::move(entry); });
    for (const VCardLine& line : card.lines)
        mapper.line(card, line);
    mapper.cardEnded(card);
    return kept;
}
