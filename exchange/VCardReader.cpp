#include "exchange/VCardReader.h"

#include "data/Book.h"
#include "exchange/ContactChoice.h"
#include "exchange/StoredForms.h"

#include <QCoreApplication>
#include <QMap>
#include <QUrl>
#include <optional>
#include <utility>

namespace {

QString joinFilled(const QStringList& parts, const QString& separator)
{
    QStringList filled;
    for (const QString& part : parts) {
        if (!part.isEmpty())
            filled.append(part);
    }
    return filled.join(separator);
}

// What the directory has no place for, by the kind a summary counts (the structure of a card, its version, its
// identity and the like are no one's data and are not counted).
QString unplacedKind(const QString& name)
{
    static const QMap<QString, QString> kinds{{QStringLiteral("EMAIL"), QStringLiteral("e-mail")},
                                              {QStringLiteral("NOTE"), QStringLiteral("notes")},
                                              {QStringLiteral("URL"), QStringLiteral("web page")},
                                              {QStringLiteral("BDAY"), QStringLiteral("birthday")},
                                              {QStringLiteral("ANNIVERSARY"), QStringLiteral("anniversary")},
                                              {QStringLiteral("PHOTO"), QStringLiteral("photo")},
                                              {QStringLiteral("NICKNAME"), QStringLiteral("nickname")},
                                              {QStringLiteral("TITLE"), QStringLiteral("job title")},
                                              {QStringLiteral("ROLE"), QStringLiteral("job title")},
                                              {QStringLiteral("IMPP"), QStringLiteral("messaging address")},
                                              {QStringLiteral("CATEGORIES"), QStringLiteral("categories")},
                                              {QStringLiteral("X-JABBER"), QStringLiteral("messaging address")},
                                              {QStringLiteral("X-SKYPE"), QStringLiteral("messaging address")}};
    return kinds.value(name);
}

FullContact::Use useOf(const VCardLine& line)
{
    if (line.hasType(QStringLiteral("WORK")))
        return FullContact::Use::Work;
    return line.hasType(QStringLiteral("HOME")) ? FullContact::Use::Home : FullContact::Use::Any;
}

// What one card holds, read a line at a time: only the first of each naming property, at most
// FullContact::kNumbersKept numbers, and the problems of the card (at most ProblemList::kKept of them, the rest
// counted) are kept.
class Mapper : public VCardParser::Sink
{
public:
    Mapper(ProblemList& problems, VCardReader::Take take, QString book = QString())
        : m_problems(problems), m_take(std::move(take)), m_book(std::move(book))
    {
    }

    int cards() const { return m_cards; }
    const QMap<QString, int>& unplaced() const { return m_unplaced; }

    bool wants(const QString& name) const override
    {
        return name == QLatin1String("N") || name == QLatin1String("FN") || name == QLatin1String("ORG") ||
               name == QLatin1String("KIND") || name == QLatin1String("ADR") || name == QLatin1String("TEL") ||
               !unplacedKind(name).isEmpty() || !StoredForms::columnOf(name).isEmpty();
    }

    void line(const VCardParser::Card& card, const VCardLine& line) override
    {
        m_card.number = card.number;
        FullContact& full = m_card.full;
        if (line.name == QLatin1String("N")) {
            if (!m_card.named) {
                m_card.named = true;
                full.family = line.components.value(0).trimmed();
                full.given = line.components.value(1).trimmed();
                full.additionalField = line.name;
                if (const QString additional = line.components.value(2).trimmed(); !additional.isEmpty())
                    full.additional << additional;
            }
        } else if (line.name == QLatin1String("FN")) {
            if (!m_card.fullName) {
                m_card.fullName = true;
                full.formatted = line.value.simplified();
            }
        } else if (line.name == QLatin1String("ORG")) {
            if (!m_card.organisation) {
                m_card.organisation = true;
                full.organisation = line.components.value(0).trimmed();
                if (!joinFilled(line.components.mid(1), QString()).trimmed().isEmpty())
                    ++full.unplaced[QStringLiteral("department")];
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
        } else if (line.name == QLatin1String("CATEGORIES")) {
            categories(line);
        } else if (const QString column = StoredForms::columnOf(line.name); !column.isEmpty()) {
            if (!m_card.stored.contains(column))
                m_card.stored.insert(column, line.value.trimmed());
        } else if (const QString kind = unplacedKind(line.name);
                   !kind.isEmpty() && (line.name == QLatin1String("PHOTO") || !line.value.trimmed().isEmpty())) {
            ++full.unplaced[kind]; // a photo's value is binary and not decoded
        }
    }

    void cardEnded(const VCardParser::Card& card) override
    {
        m_card.number = card.number;
        ++m_cards;
        FullContact& full = m_card.full;
        // A 4.0 card of an organisation may name it in FN alone.
        if (full.organisation.isEmpty() && m_card.kindIsOrg)
            full.organisation = full.formatted;
        storedForms();
        if (!m_book.isEmpty())
            full.book = m_book;
        std::optional<Contact> entry = ContactChoice::choose(full, card.number, m_card.problems, m_unplaced);
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
        FullContact full;
        ProblemList problems; // the mapping's, after those of the card's syntax
        bool named = false;   // an N was read
        bool fullName = false;
        bool organisation = false;
        bool kind = false;
        bool kindIsOrg = false;
        QMap<QString, QString> stored; // the entry window's forms the card carries, by column (see StoredForms)
    };

    // Each stored form the card carries takes the place of the value it agrees with, a number as the number of
    // its very field.
    void storedForms()
    {
        using Kind = FullContact::Kind;
        FullContact& full = m_card.full;
        for (auto it = m_card.stored.cbegin(); it != m_card.stored.cend(); ++it) {
            const QString& form = it.value();
            if (it.key() == QLatin1String("Zip")) {
                for (FullContact::Address& address : full.addresses) {
                    if (StoredForms::agrees(form, address.zip)) {
                        address.zip = form;
                        break;
                    }
                }
                continue;
            }
            const Kind kind = it.key() == QLatin1String("Tel1")   ? Kind::Tel1
                              : it.key() == QLatin1String("Tel2") ? Kind::Tel2
                              : it.key() == QLatin1String("Pel")  ? Kind::Cell
                                                                  : Kind::Fax;
            for (FullContact::Number& number : full.numbers) {
                if (!StoredForms::isMaskedNumber(number.value) && StoredForms::agrees(form, number.value)) {
                    number.value = form;
                    number.kind = kind;
                    break;
                }
            }
        }
    }

    void address(const VCardLine& line)
    {
        QStringList parts;
        for (qsizetype i = 0; i < 7; ++i)
            parts.append(line.components.value(i).trimmed());
        const QString street = joinFilled({parts.at(2), parts.at(1), parts.at(0)}, QStringLiteral(", "));
        if (street.isEmpty() && parts.at(3).isEmpty() && parts.at(4).isEmpty() && parts.at(5).isEmpty()) {
            if (!parts.at(6).isEmpty())
                ++m_card.full.unplaced[QStringLiteral("country")];
            return;
        }
        m_card.full.addresses.append({useOf(line), street, parts.at(3), parts.at(4), parts.at(5), parts.at(6),
                                      joinFilled(parts, QStringLiteral(", ")), line.name});
    }

    // This program writes an entry's book as a category; any other category has no place in an entry.
    void categories(const VCardLine& line)
    {
        bool others = false;
        for (const QString& item : line.value.split(QLatin1Char(','))) {
            const QString category = item.trimmed();
            const Book* book = nullptr;
            for (const Book* b : Book::all()) {
                if (category.compare(b->name(), Qt::CaseInsensitive) == 0)
                    book = b;
            }
            if (book && m_card.full.book.isEmpty())
                m_card.full.book = book->name();
            else if (!category.isEmpty() && !book)
                others = true;
        }
        if (others)
            ++m_card.full.unplaced[QStringLiteral("categories")];
    }

    void telephone(const VCardLine& line)
    {
        using Kind = FullContact::Kind;
        const QString number = VCardReader::numberText(line);
        if (number.isEmpty())
            return;
        if (m_card.full.numbers.size() >= FullContact::kNumbersKept) {
            m_card.problems.append({m_card.number, line.name, number,
                                    QCoreApplication::translate(
                                        "VCardReader", "left out: the card holds more numbers than an entry can")});
            return;
        }
        const Kind kind = line.hasType(QStringLiteral("PAGER"))  ? Kind::Pager
                          : line.hasType(QStringLiteral("CELL")) ? Kind::Cell
                          : line.hasType(QStringLiteral("FAX"))  ? Kind::Fax
                                                                 : Kind::Voice;
        m_card.full.numbers.append({kind, useOf(line), number, line.name});
    }

    ProblemList& m_problems;
    VCardReader::Take m_take;
    int m_cards = 0;
    Card m_card;
    QMap<QString, int> m_unplaced; // over the whole file
    QString m_book;                // the book every entry goes to; empty: as each card says
};

} // namespace

bool VCardReader::read(const QByteArray& bytes, const QString& fallbackEncoding, const Take& take,
                       ProblemList& problems)
{
    Mapper mapper(problems, take);
    const bool fallbackUsed = VCardParser::parse(bytes, fallbackEncoding, mapper, problems);
    ContactChoice::reportUnplaced(mapper.unplaced(), problems);
    if (mapper.cards() == 0) {
        problems.append({0, QString(), QString(),
                         QCoreApplication::translate("VCardReader",
                                                     "nothing read: the file holds no vCard (no BEGIN:VCARD line)")});
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

std::optional<Contact> VCardReader::contact(const VCardParser::Card& card, ProblemList& problems, const QString& book)
{
    std::optional<Contact> kept;
    Mapper mapper(
        problems, [&kept](Contact&& entry, int) { kept = std::move(entry); }, book);
    for (const VCardLine& line : card.lines) {
        if (mapper.wants(line.name))
            mapper.line(card, line);
    }
    mapper.cardEnded(card);
    return kept;
}

QString VCardReader::numberText(const VCardLine& line)
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
