#include "CsvColumns.h"

#include "Book.h"
#include "PhoneNumbers.h"

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

struct Address
{
    QString group;
    QStringList street;
    QString city, state, zip;
    QList<int> columns; // the columns with a value, for reporting an address left out
};

struct Number
{
    Role kind;
    QString value;
    int column;
    QString group; // "home", "business", "work"... when the column or the pair's type says
};

} // namespace

Contact CsvColumns::contact(const QStringList& fields, int record, ProblemList& problems) const
{
    const auto field = [&fields](int i) { return i < fields.size() ? fields.at(i).trimmed() : QString(); };
    const auto report = [&](int column, const QString& value, const QString& action) {
        problems.append({record, m_names.value(column), value, action});
    };

    QHash<Role, QString> single;
    QHash<QString, QString> types; // phone pair or numbered address -> its kind's text in this row
    QList<Address> addresses;
    QList<Number> numbers;
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns.at(i);
        if (column.role == Role::PhoneType || column.role == Role::AddressType)
            types.insert(column.group, normalized(field(i)));
    }

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
            if (!single.contains(column.role))
                single.insert(column.role, value);
            else if (single.value(column.role) != value)
                report(i, value, QStringLiteral("left out: an earlier column gives the same field"));
            break;
        case Role::Street:
        case Role::City:
        case Role::State:
        case Role::Zip: {
            auto it = std::find_if(addresses.begin(), addresses.end(),
                                   [&column](const Address& a) { return a.group == column.group; });
            if (it == addresses.end())
                it = addresses.insert(addresses.end(), Address{column.group, {}, {}, {}, {}, {}});
            it->columns.append(i);
            if (column.role == Role::Street)
                it->street.append(value);
            else
                (column.role == Role::City ? it->city : column.role == Role::State ? it->state : it->zip) = value;
            break;
        }
        case Role::PhoneValue:
            // One column may hold several numbers of the same kind, separated as ":::".
            for (const QString& part : value.split(QStringLiteral(":::"), Qt::SkipEmptyParts)) {
                if (!part.trimmed().isEmpty())
                    numbers.append({kindOf(types.value(column.group)), part.trimmed(), i, types.value(column.group)});
            }
            break;
        default:
            numbers.append({column.role, value, i, column.group});
            break;
        }
    }

    Contact c;
    c.fname = single.value(Role::FirstName);
    c.lname = single.value(Role::LastName);
    if (c.fname.isEmpty() && c.lname.isEmpty()) {
        // A full name alone: the last word is taken for the family name, as most names are written.
        const QString full = single.value(Role::FullName);
        const int space = int(full.lastIndexOf(u' '));
        c.fname = space < 0 ? QString() : full.left(space).trimmed();
        c.lname = full.mid(space + 1);
    }
    c.busName = single.value(Role::Company);
    c.category = single.value(Role::Category);
    if (c.category.isEmpty())
        c.category = c.busName.isEmpty() ? ::Book::Personal.name() : ::Book::Business.name();

    // One address is kept: a business entry's work address, a personal entry's home address, else the first.
    if (!addresses.isEmpty()) {
        const bool business = c.category.compare(::Book::Business.name(), Qt::CaseInsensitive) == 0;
        // A numbered address ("Address 1") says in its type column which it is.
        auto chosen = std::find_if(addresses.begin(), addresses.end(), [business, &types](const Address& a) {
            const QString group = types.value(a.group, a.group);
            return business ? isBusinessGroup(group) : isHomeGroup(group);
        });
        if (chosen == addresses.end())
            chosen = addresses.begin();
        c.address = chosen->street.join(QStringLiteral(", "));
        c.city = chosen->city;
        c.state = chosen->state;
        c.zip = chosen->zip;
        for (auto it = addresses.begin(); it != addresses.end(); ++it) {
            if (it == chosen)
                continue;
            for (int column : it->columns)
                report(column, field(column), QStringLiteral("left out: an entry keeps one address"));
        }
    }

    // Numbers meant for a field take it first; the rest fill Tel1 and Tel2 in file order, a second cellular number
    // only when there is room after the others.
    // A number that cannot be stored keeps no field from one that can: it gives way and is reported.
    const auto fits = [](const QString& text) {
        return PhoneNumbers::digits(text).size() >= 5 && PhoneNumbers::toStored(text).fits;
    };
    QHash<const QString*, int> held; // the column each field's number came from
    const auto place = [&](QString& slot, const Number& n) {
        if (!slot.isEmpty()) {
            if (fits(slot) || !fits(n.value))
                return false;
            report(held.value(&slot), slot, QStringLiteral("left out: ") + PhoneNumbers::toStored(slot).reason);
        }
        slot = n.value;
        held.insert(&slot, n.column);
        return true;
    };
    // For a business entry the work numbers come first, for a personal one the home numbers, pagers last.
    const bool business = c.category.compare(::Book::Business.name(), Qt::CaseInsensitive) == 0;
    std::stable_partition(numbers.begin(), numbers.end(), [business](const Number& n) {
        const QString group = n.group.section(QLatin1Char(' '), 0, 0);
        return business ? isBusinessGroup(group) : isHomeGroup(group);
    });
    QList<const Number*> rest;
    QList<const Number*> mobiles;
    QList<const Number*> pagers;
    for (const Number& n : numbers) {
        switch (n.kind) {
        case Role::Tel1:
        case Role::Tel2:
            if (!place(n.kind == Role::Tel1 ? c.tel1 : c.tel2, n))
                rest.append(&n);
            break;
        case Role::Mobile:
            if (!place(c.pel, n))
                mobiles.append(&n);
            break;
        case Role::Pager:
            pagers.append(&n);
            break;
        case Role::Fax:
            if (!place(c.fax, n))
                report(n.column, n.value, QStringLiteral("left out: an entry has one fax number"));
            break;
        default:
            rest.append(&n);
            break;
        }
    }
    for (const Number* n : rest + mobiles + pagers) {
        if (!place(c.tel1, *n) && !place(c.tel2, *n))
            report(n->column, n->value, QStringLiteral("left out: no telephone field is free"));
    }
    return c;
}
