#include "exchange/ContactChoice.h"

#include "data/Book.h"
#include "exchange/PhoneNumbers.h"
#include "exchange/StoredForms.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

namespace {

using Use = FullContact::Use;
using Kind = FullContact::Kind;
using Number = FullContact::Number;

const QString kPersonal = ::Book::Personal.name();
const QString kBusiness = ::Book::Business.name();

// Fills the four telephone fields from the numbers in their order of preference.
class Numbers
{
public:
    Numbers(Contact& entry, int record, ProblemList& problems)
        : m_fields{&entry.tel1, &entry.tel2, &entry.pel, &entry.fax}, m_record(record), m_problems(problems)
    {
    }

    void place(const QList<Number>& numbers)
    {
        QList<const Number*> rest, laterCells, pagers;
        for (const Number& n : numbers) {
            switch (n.kind) {
            case Kind::Tel1:
            case Kind::Tel2:
                if (!take(n.kind == Kind::Tel1 ? 0 : 1, n))
                    rest << &n;
                break;
            case Kind::Cell:
                if (!take(2, n))
                    laterCells << &n;
                break;
            case Kind::Fax:
                if (!take(3, n))
                    report(n, QCoreApplication::translate("ContactChoice", "left out: the entry holds one fax number"));
                break;
            case Kind::Pager:
                pagers << &n;
                break;
            case Kind::Voice:
                rest << &n;
                break;
            }
        }
        for (const Number* n : rest + laterCells + pagers) {
            if (!take(0, *n) && !take(1, *n))
                report(*n, QCoreApplication::translate(
                               "ContactChoice",
                               "left out: the entry holds two telephone numbers besides the cellular and the fax"));
        }
    }

private:
    static bool fits(const QString& text)
    {
        // The entry window's own form is stored as it is; too few digits for any number is told without the library.
        return StoredForms::isMaskedNumber(text) ||
               (PhoneNumbers::digits(text).size() >= 5 && PhoneNumbers::toStored(text).fits);
    }

    void report(const Number& n, const QString& action) { m_problems.append({m_record, n.field, n.value, action}); }

    // A number that cannot be stored keeps no field from one that can: it gives way and is reported.
    bool take(std::size_t field, const Number& n)
    {
        if (const Number* held = m_held.at(field)) {
            if (!m_heldFits.at(field))
                m_heldFits[field] = fits(held->value);
            if (*m_heldFits.at(field) || !fits(n.value))
                return false;
            report(*held, QCoreApplication::translate("ContactChoice", "left out: %1")
                              .arg(PhoneNumbers::toStored(held->value).reason));
        }
        *m_fields.at(field) = n.value;
        m_held[field] = &n;
        m_heldFits[field] = std::nullopt;
        return true;
    }

    std::array<QString*, 4> m_fields;
    std::array<const Number*, 4> m_held{};
    std::array<std::optional<bool>, 4> m_heldFits;
    int m_record;
    ProblemList& m_problems;
};

} // namespace

std::optional<Contact> ContactChoice::choose(const FullContact& full, int record, ProblemList& problems,
                                             QMap<QString, int>& unplaced)
{
    const auto report = [&](const QString& field, const QString& value, const QString& action) {
        problems.append({record, field, value, action});
    };
    for (auto it = full.unplaced.cbegin(); it != full.unplaced.cend(); ++it)
        unplaced[it.key()] += it.value();

    Contact entry;
    const QString organisation = full.organisation.trimmed();
    entry.busName = organisation;
    entry.category = full.book.trimmed();
    if (entry.category.isEmpty())
        entry.category = organisation.isEmpty() ? kPersonal : kBusiness;
    const bool business = entry.category.compare(kBusiness, Qt::CaseInsensitive) == 0;

    entry.fname = full.given.trimmed();
    entry.lname = full.family.trimmed();
    for (const QString& name : full.additional)
        report(full.additionalField, name,
               QCoreApplication::translate("ContactChoice", "left out: the entry has no place for additional names"));
    // A written-out name alone: its last word is taken for the family name, as most names are written. A company's
    // card often repeats its name there; that is no person's name.
    const QString formatted = full.formatted.simplified();
    if (entry.fname.isEmpty() && entry.lname.isEmpty() && formatted.compare(organisation, Qt::CaseInsensitive) != 0) {
        const qsizetype space = formatted.lastIndexOf(QLatin1Char(' '));
        entry.lname = formatted.sliced(space + 1);
        entry.fname = space < 0 ? QString() : formatted.first(space);
    }
    // A personal entry has no company: a company's card in that book is named by the company, in the column the
    // book is sorted by, rather than left without a name.
    if (entry.category.compare(kPersonal, Qt::CaseInsensitive) == 0 && entry.fname.isEmpty() && entry.lname.isEmpty() &&
        !organisation.isEmpty()) {
        entry.lname = organisation;
        entry.busName.clear();
    }

    // Work first for a business, home first for a personal entry; otherwise the file's order.
    const Use preferred = business ? Use::Work : Use::Home;
    if (!full.addresses.isEmpty()) {
        const auto chosen = std::find_if(full.addresses.cbegin(), full.addresses.cend(),
                                         [preferred](const FullContact::Address& a) { return a.use == preferred; });
        const FullContact::Address& kept = chosen == full.addresses.cend() ? full.addresses.constFirst() : *chosen;
        entry.address = kept.street;
        entry.city = kept.city;
        entry.state = kept.state;
        entry.zip = kept.zip;
        if (!kept.country.isEmpty())
            ++unplaced[QStringLiteral("country")];
        for (const FullContact::Address& other : full.addresses) {
            if (&other != &kept)
                report(other.field, other.shown,
                       QCoreApplication::translate("ContactChoice", "left out: the entry holds one address"));
        }
    }

    QList<Number> numbers = full.numbers;
    std::stable_partition(numbers.begin(), numbers.end(), [preferred](const Number& n) { return n.use == preferred; });
    // A number in the entry window's own form (see StoredForms) goes back to the field it came from before any other
    // is placed.
    std::stable_partition(numbers.begin(), numbers.end(),
                          [](const Number& n) { return StoredForms::isMaskedNumber(n.value); });
    Numbers(entry, record, problems).place(numbers);

    const bool named = !entry.fname.isEmpty() || !entry.lname.isEmpty() || !organisation.isEmpty();
    const bool numbered =
        !entry.tel1.isEmpty() || !entry.tel2.isEmpty() || !entry.pel.isEmpty() || !entry.fax.isEmpty();
    if (!named && !numbered) {
        report(QString(), entry.address,
               QCoreApplication::translate("ContactChoice", "left out: it holds no name and no telephone number"));
        return std::nullopt;
    }
    return entry;
}

// The kinds of value the readers count as having no place in an entry; any other kind is a column name of the file
// itself, shown as the file has it.
[[maybe_unused]] const char* const kUnplacedKinds[] = {
    QT_TRANSLATE_NOOP("ContactChoice", "e-mail"),    QT_TRANSLATE_NOOP("ContactChoice", "notes"),
    QT_TRANSLATE_NOOP("ContactChoice", "country"),   QT_TRANSLATE_NOOP("ContactChoice", "web page"),
    QT_TRANSLATE_NOOP("ContactChoice", "birthday"),  QT_TRANSLATE_NOOP("ContactChoice", "anniversary"),
    QT_TRANSLATE_NOOP("ContactChoice", "photo"),     QT_TRANSLATE_NOOP("ContactChoice", "nickname"),
    QT_TRANSLATE_NOOP("ContactChoice", "job title"), QT_TRANSLATE_NOOP("ContactChoice", "messaging address"),
    QT_TRANSLATE_NOOP("ContactChoice", "categories")};

void ContactChoice::reportUnplaced(const QMap<QString, int>& counts, ProblemList& problems)
{
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QByteArray kind = it.key().toUtf8();
        ExchangeProblem problem{
            0, QCoreApplication::translate("ContactChoice", kind.constData()), QString(),
            it.value() == 1
                ? QCoreApplication::translate("ContactChoice", "1 value left out: the directory has no place for them")
                : QCoreApplication::translate(
                      "ContactChoice", "%n values left out: the directory has no place for them", nullptr, it.value())};
        problem.count = it.value();
        problems.append(problem);
    }
}
