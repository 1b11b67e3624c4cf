#include "exchange/CsvColumns.h"

#include "exchange/ContactChoice.h"
#include "exchange/PhoneNumbers.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

namespace {

using Role = CsvColumns::Role;

// Lower case, every run of anything but letters and digits one space: "Phone 1 - Value" is "phone 1 value",
// "ZIP/Postal Code" is "zip postal code".
QString normalized(const QString& name)
{
    QString result;
    result.reserve(name.size());
    bool space = false;
    for (const QChar c : name) {
        if (c.isLetterOrNumber()) {
            if (space && !result.isEmpty())
                result += u' ';
            result += c.toLower();
            space = false;
        } else {
            space = true;
        }
    }
    return result;
}

const QHash<QString, Role>& whole()
{
    // Names that mean one thing only as they stand.
    static const QHash<QString, Role> names = [] {
        QHash<QString, Role> h;
        const auto add = [&h](Role role, std::initializer_list<const char*> list) {
            for (const char* name : list)
                h.insert(QString::fromUtf8(name), role);
        };
        add(Role::Category, {"category", "categories"});
        add(Role::Pager, {"pager", "pager number"});
        add(Role::FirstName, {"first name", "firstname", "first", "given name", "given", "forename", "שם פרטי"});
        add(Role::LastName, {"last name", "lastname", "last", "family name", "surname", "family", "שם משפחה"});
        add(Role::MiddleName, {"middle name", "middlename", "middle", "additional name", "additional names"});
        add(Role::FullName, {"name", "full name", "fullname", "display name", "displayname", "שם", "שם מלא"});
        add(Role::Company, {"company", "company name", "organization", "organisation", "organization name",
                            "organisation name", "חברה", "שם חברה"});
        add(Role::Tel1, {"tel1", "tel 1", "telephone 1", "phone 1"});
        add(Role::Tel2, {"tel2", "tel 2", "telephone 2", "phone 2"});
        add(Role::Phone, {"company main phone", "car phone", "callback"});
        return h;
    }();
    return names;
}

const QHash<QString, Role>& parts()
{
    // Names that may follow the name of an address or telephone group ("Home", "Business", "Work"...).
    static const QHash<QString, Role> names = [] {
        QHash<QString, Role> h;
        const auto add = [&h](Role role, std::initializer_list<const char*> list) {
            for (const char* name : list)
                h.insert(QString::fromUtf8(name), role);
        };
        add(Role::Street, {"street", "street 1", "street 2", "street 3", "address", "address 2", "address 3",
                           "street address", "address line 1", "address line 2", "address line 3", "extended address"});
        add(Role::City, {"city", "town", "locality"});
        add(Role::State, {"state", "province", "region", "state province", "state or province"});
        add(Role::Zip,
            {"zip", "zip code", "zipcode", "postal code", "postcode", "post code", "zip postal code", "postal"});
        add(Role::Phone,
            {"phone", "phone 2", "phone 3", "telephone", "telephone 2", "tel", "phone number", "telephone number"});
        add(Role::Mobile, {"mobile", "mobile phone", "mobile number", "cell", "cell phone", "cellphone", "cellular",
                           "cellular phone"});
        add(Role::Fax, {"fax", "fax number", "facsimile"});
        return h;
    }();
    return names;
}

bool isGroupWord(const QString& word)
{
    static const QStringList words{QStringLiteral("home"),     QStringLiteral("business"), QStringLiteral("work"),
                                   QStringLiteral("office"),   QStringLiteral("other"),    QStringLiteral("private"),
                                   QStringLiteral("personal"), QStringLiteral("primary"),  QStringLiteral("main")};
    return words.contains(word);
}

bool isBusinessGroup(const QString& group)
{
    return group == QLatin1String("business") || group == QLatin1String("work") || group == QLatin1String("office") ||
           group.contains(QString::fromUtf8("עבודה"));
}

bool isHomeGroup(const QString& group)
{
    return group == QLatin1String("home") || group == QLatin1String("private") || group == QLatin1String("personal") ||
           group.contains(QString::fromUtf8("בית"));
}

// Hebrew exports put the kind first and the group after ("טלפון בעבודה", work telephone), so the words are looked
// for anywhere, and what is left of the name tells one address from another.
CsvColumns::Column hebrewColumn(const QString& name)
{
    static const std::pair<const char*, Role> words[] = {
        {"פקס", Role::Fax},     {"נייד", Role::Mobile}, {"פלאפון", Role::Mobile}, {"טלפון", Role::Phone},
        {"רחוב", Role::Street}, {"עיר", Role::City},    {"מיקוד", Role::Zip}};
    for (const auto& [word, role] : words) {
        const QString w = QString::fromUtf8(word);
        if (name.contains(w))
            return {role, QString(name).remove(w).simplified()};
    }
    return {};
}

// The kind a "Phone n - Type" column gives the number beside it.
Role kindOf(const QString& type)
{
    const QString t = normalized(type);
    if (t.contains(QLatin1String("fax")) || t.contains(QString::fromUtf8("פקס")))
        return Role::Fax;
    if (t.contains(QLatin1String("mobile")) || t.contains(QLatin1String("cell")) ||
        t.contains(QString::fromUtf8("נייד")))
        return Role::Mobile;
    return Role::Phone;
}

} // namespace

CsvColumns::CsvColumns(const QStringList& names) : m_names(names)
{
    for (const QString& name : names)
        m_columns.append(classify(name));
    // "Home Address" beside "Home Street" is the whole address written out as a block, not a street line.
    for (int i = 0; i < m_columns.size(); ++i) {
        Column& column = m_columns[i];
        if (column.role != Role::Street || normalized(names.at(i)) != column.group + QStringLiteral(" address"))
            continue;
        for (int j = 0; j < m_columns.size(); ++j) {
            if (j != i && m_columns.at(j).role == Role::Street && m_columns.at(j).group == column.group &&
                normalized(names.at(j)).startsWith(column.group + QStringLiteral(" street")))
                column = Column{Role::None, QStringLiteral("formatted")};
        }
    }
}

void CsvColumns::countUnplaced(const QStringList& fields, QMap<QString, int>& counts) const
{
    for (int i = 0; i < m_columns.size() && i < fields.size(); ++i) {
        const Column& column = m_columns.at(i);
        const QString n = normalized(m_names.at(i));
        // Nameless columns (an empty field ending every row), the written-out address and the groups a service
        // files every contact under hold nothing of their own.
        if (column.role != Role::None || column.group == QLatin1String("formatted") || n.isEmpty() ||
            n.endsWith(QLatin1String("formatted")) || n == QLatin1String("group membership") ||
            n == QLatin1String("labels") || fields.at(i).trimmed().isEmpty())
            continue;
        QString kind = m_names.at(i).trimmed();
        if (n.contains(QLatin1String("mail")))
            kind = QStringLiteral("e-mail");
        else if (n.contains(QLatin1String("note")))
            kind = QStringLiteral("notes");
        else if (n.contains(QLatin1String("country")))
            kind = QStringLiteral("country");
        else if (n.contains(QLatin1String("web")) || n.contains(QLatin1String("url")))
            kind = QStringLiteral("web page");
        else if (n.contains(QLatin1String("birthday")))
            kind = QStringLiteral("birthday");
        ++counts[kind];
    }
}

CsvColumns::Column CsvColumns::classify(const QString& name)
{
    const QString n = normalized(name);
    if (const auto it = whole().constFind(n); it != whole().constEnd())
        return {it.value(), QString()};

    // Numbered groups: "Phone 1 - Type", "Address 2 - Postal Code", "Organization 1 - Name".
    static const QRegularExpression numbered(QStringLiteral("^(phone|address|organization|organisation) (\\d+) (.+)$"));
    if (const auto m = numbered.match(n); m.hasMatch()) {
        const QString group = m.captured(1) + u' ' + m.captured(2);
        const QString part = m.captured(3);
        if (m.captured(1) == QLatin1String("phone")) {
            if (part == QLatin1String("type") || part == QLatin1String("label"))
                return {Role::PhoneType, group};
            if (part == QLatin1String("value"))
                return {Role::PhoneValue, group};
            return {};
        }
        if (m.captured(1) != QLatin1String("address"))
            return {part == QLatin1String("name") ? Role::Company : Role::None, QString()};
        if (part == QLatin1String("type") || part == QLatin1String("label"))
            return {Role::AddressType, group};
        const Role role = parts().value(part, Role::None);
        const bool addressPart = role == Role::Street || role == Role::City || role == Role::State || role == Role::Zip;
        return {addressPart ? role : Role::None, group};
    }

    const int space = int(n.indexOf(u' '));
    if (space > 0 && isGroupWord(n.left(space))) {
        if (const Role role = parts().value(n.mid(space + 1), Role::None); role != Role::None)
            return {role, n.left(space)};
    }
    if (const Role role = parts().value(n, Role::None); role != Role::None)
        return {role, QString()};
    return hebrewColumn(n);
}

bool CsvColumns::looksLikeHeader(const QStringList& fields)
{
    bool known = false;
    for (const QString& field : fields) {
        int digits = 0;
        for (const QChar c : field)
            digits += c.isDigit() ? 1 : 0;
        if (digits >= 3)
            return false;
        known = known || classify(field).role != Role::None;
    }
    return known;
}

bool CsvColumns::readsAnything() const
{
    for (const Column& column : m_columns) {
        if (column.role != Role::None && column.role != Role::PhoneType)
            return true;
    }
    return false;
}

namespace {

QString joinFilled(const QStringList& parts)
{
    QStringList filled;
    for (const QString& part : parts) {
        if (!part.isEmpty())
            filled << part;
    }
    return filled.join(QStringLiteral(", "));
}

FullContact::Use useOf(const QString& group)
{
    const QString first = group.section(QLatin1Char(' '), 0, 0);
    if (isBusinessGroup(first))
        return FullContact::Use::Work;
    return isHomeGroup(first) ? FullContact::Use::Home : FullContact::Use::Any;
}

} // namespace

std::optional<Contact> CsvColumns::contact(const QStringList& fields, int record, ProblemList& problems,
                                           QMap<QString, int>& unplaced) const
{
    countUnplaced(fields, unplaced);
    return ContactChoice::choose(full(fields, record, problems), record, problems, unplaced);
}

namespace {

FullContact::Kind numberKind(Role role)
{
    using Kind = FullContact::Kind;
    switch (role) {
    case Role::Tel1:
        return Kind::Tel1;
    case Role::Tel2:
        return Kind::Tel2;
    case Role::Mobile:
        return Kind::Cell;
    case Role::Fax:
        return Kind::Fax;
    case Role::Pager:
        return Kind::Pager;
    default:
        return Kind::Voice;
    }
}

// The addresses of a row, one for each group of columns ("Home", "Business", "Address 1"...).
class RowAddresses
{
public:
    void add(const CsvColumns::Column& column, const QString& value, int index)
    {
        auto it =
            std::find_if(m_list.begin(), m_list.end(), [&column](const Address& a) { return a.group == column.group; });
        if (it == m_list.end())
            it = m_list.insert(m_list.end(), Address{column.group, {}, {}, {}, {}, index});
        if (column.role == Role::Street)
            it->street.append(value);
        else
            (column.role == Role::City ? it->city : column.role == Role::State ? it->state : it->zip) = value;
    }

    // `types`: what the type column of a numbered address ("Address 1 - Type") says it is.
    void addTo(FullContact& full, const QHash<QString, QString>& types, const QStringList& names) const
    {
        for (const Address& a : m_list) {
            const QString street = a.street.join(QStringLiteral(", "));
            full.addresses.append({useOf(types.value(a.group, a.group)), street, a.city, a.state, a.zip, QString(),
                                   joinFilled({street, a.city, a.state, a.zip}), names.value(a.column)});
        }
    }

private:
    struct Address
    {
        QString group;
        QStringList street;
        QString city, state, zip;
        int column = -1; // the first with a value, which reports name
    };
    QList<Address> m_list;
};

} // namespace

FullContact CsvColumns::full(const QStringList& fields, int record, ProblemList& problems) const
{
    const auto field = [&fields](int i) { return i < fields.size() ? fields.at(i).trimmed() : QString(); };
    const auto report = [&](int column, const QString& value, const QString& action) {
        problems.append({record, m_names.value(column), value, action});
    };

    QHash<QString, QString> types; // phone pair or numbered address -> its kind's text in this row
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns.at(i);
        if (column.role == Role::PhoneType || column.role == Role::AddressType)
            types.insert(column.group, normalized(field(i)));
    }

    FullContact full;
    QHash<Role, QString*> single{{Role::Category, &full.book},
                                 {Role::FirstName, &full.given},
                                 {Role::LastName, &full.family},
                                 {Role::FullName, &full.formatted},
                                 {Role::Company, &full.organisation}};
    RowAddresses addresses;
    const auto number = [&](Role role, const QString& value, int column, const QString& group) {
        if (full.numbers.size() < FullContact::kNumbersKept)
            full.numbers.append({numberKind(role), useOf(group), value, m_names.value(column)});
        else
            report(column, value,
                   QCoreApplication::translate("CsvColumns", "left out: the row holds more numbers than an entry can"));
    };
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns.at(i);
        const QString value = field(i);
        if (value.isEmpty() || column.role == Role::None || column.role == Role::PhoneType ||
            column.role == Role::AddressType)
            continue;
        switch (column.role) {
        case Role::Category:
        case Role::FirstName:
        case Role::LastName:
        case Role::FullName:
        case Role::Company:
            if (QString* kept = single.value(column.role); kept->isEmpty())
                *kept = value;
            else if (*kept != value)
                report(i, value,
                       QCoreApplication::translate("CsvColumns", "left out: an earlier column gives the same field"));
            break;
        case Role::MiddleName:
            full.additional << value;
            full.additionalField = m_names.value(i);
            break;
        case Role::Street:
        case Role::City:
        case Role::State:
        case Role::Zip:
            addresses.add(column, value, i);
            break;
        case Role::PhoneValue:
            // One column may hold several numbers of the same kind, separated as ":::".
            for (const QString& part : value.split(QStringLiteral(":::"), Qt::SkipEmptyParts)) {
                const QString type = types.value(column.group);
                if (!part.trimmed().isEmpty())
                    number(kindOf(type), part.trimmed(), i, type);
            }
            break;
        default:
            number(column.role, value, i, column.group);
            break;
        }
    }
    addresses.addTo(full, types, m_names);
    return full;
}
