#include "sync/ServerCard.h"

#include "data/Book.h"
#include "data/Columns.h"
#include "exchange/ContactFit.h"
#include "exchange/ContentLine.h"
#include "exchange/ProblemList.h"
#include "exchange/StoredForms.h"
#include "exchange/VCardLineWriter.h"
#include "exchange/VCardParser.h"
#include "exchange/VCardReader.h"
#include "exchange/VCardWriter.h"

#include <array>

namespace {

// The four number columns, in the order their source lines are claimed: cellular and fax first, as their lines
// carry a type, then the others.
enum NumberColumn { Pel, Fax, Tel1, Tel2 };

constexpr QString Contact::*kNumbers[] = {&Contact::pel, &Contact::fax, &Contact::tel1, &Contact::tel2};

const QString& numberOf(const Contact& entry, int column)
{
    return entry.*kNumbers[column];
}

QString columnName(int column)
{
    return Columns::of(kNumbers[column]).columnName();
}

using ContentLine::withValue;

QString displayName(const Contact& entry)
{
    const QString name = (entry.fname.trimmed() + QLatin1Char(' ') + entry.lname.trimmed()).trimmed();
    return name.isEmpty() ? entry.busName.trimmed() : name;
}

// Where `word` stands in `text` as words of its own (the first or the last time); -1 when it does not.
qsizetype wordAt(const QString& text, const QString& word, bool last)
{
    if (word.isEmpty())
        return -1;
    const auto boundary = [&](qsizetype i) { return i < 0 || i >= text.size() || !text.at(i).isLetterOrNumber(); };
    for (qsizetype at = last ? text.lastIndexOf(word) : text.indexOf(word); at >= 0;
         at = last ? (at > 0 ? text.lastIndexOf(word, at - 1) : -1) : text.indexOf(word, at + 1)) {
        if (boundary(at - 1) && boundary(at + word.size()))
            return at;
    }
    return -1;
}

// `formatted` with one name part replaced where it stands; false when the old part is not in it.
bool replaceWord(QString& formatted, const QString& before, const QString& after, bool last)
{
    const qsizetype at = wordAt(formatted, before, last);
    if (at < 0)
        return false;
    formatted = formatted.replace(at, before.size(), after).simplified();
    return true;
}

} // namespace

ServerCard::ServerCard(const QByteArray& text) : m_text(text)
{
    for (const QByteArray& raw : ContentLine::split(text)) {
        Line line;
        line.raw = raw;
        const QByteArray upper = raw.trimmed().toUpper();
        if (upper.startsWith("VERSION:"))
            m_version = raw.trimmed().mid(8);
        if (!upper.isEmpty() && !upper.startsWith("BEGIN:") && !upper.startsWith("END:") &&
            !upper.startsWith("VERSION:")) {
            if (const std::optional<VCardLine> parsed =
                    ContentLine::parse(raw, m_version.isEmpty() ? QByteArray("3.0") : m_version)) {
                line.parsed = *parsed;
                line.property = true;
            }
        }
        m_lines.append(line);
    }
}

std::optional<Contact> ServerCard::entry(const QString& book, ProblemList* problems) const
{
    ProblemList found;
    const auto parsed = VCardParser::parse(m_text, QStringLiteral("UTF-8"));
    if (parsed.cards.isEmpty())
        return std::nullopt;
    const std::optional<Contact> raw = VCardReader::contact(parsed.cards.first(), found, book);
    std::optional<Contact> entry;
    if (raw) {
        ContactFit::Result fitted = ContactFit::fit(*raw, 1);
        for (const ExchangeProblem& problem : std::as_const(fitted.problems))
            found.append(problem);
        if (!fitted.empty)
            entry = std::move(fitted.contact);
    }
    if (problems)
        problems->append(found);
    return entry;
}

int ServerCard::sourceOf(const Contact& raw, int numberColumn) const
{
    // Lines claimed by the columns before this one are passed over, so two equal numbers keep two lines.
    std::array<int, 4> claimed{-1, -1, -1, -1};
    for (int column = Pel; column <= numberColumn; ++column) {
        const QString& number = numberOf(raw, column);
        if (number.isEmpty())
            continue;
        for (int i = 0; i < m_lines.size(); ++i) {
            const Line& line = m_lines.at(i);
            if (!line.property || line.parsed.name != QLatin1String("TEL") ||
                std::find(claimed.begin(), claimed.end(), i) != claimed.end())
                continue;
            const QString text = VCardReader::numberText(line.parsed);
            if (text == number || (StoredForms::isMaskedNumber(number) && StoredForms::agrees(number, text))) {
                claimed[std::size_t(column)] = i;
                break;
            }
        }
    }
    return claimed[std::size_t(numberColumn)];
}

int ServerCard::find(const QString& name) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines.at(i).property && m_lines.at(i).parsed.name == name)
            return i;
    }
    return -1;
}

void ServerCard::editStoredForm(Edit& edit, const QString& column, const QString& stored) const
{
    const QString name = StoredForms::property(column);
    const int line = find(name);
    if (StoredForms::needed(stored))
        edit.set(line, line >= 0 ? withValue(m_lines.at(line).raw, stored)
                                 : VCardLineWriter::folded(name.toLatin1() + ':' + stored.toUtf8()));
    else if (line >= 0)
        edit.removed[line] = true;
}

void ServerCard::Edit::set(int index, const QByteArray& line)
{
    if (index >= 0)
        lines[index] = line;
    else
        added << line;
}

QByteArray ServerCard::Edit::text() const
{
    QByteArray out;
    bool addedYet = added.isEmpty();
    for (int i = 0; i < lines.size(); ++i) {
        if (removed.at(i))
            continue;
        if (!addedYet && lines.at(i).trimmed().toUpper() == "END:VCARD") {
            for (const QByteArray& line : added)
                out += line;
            addedYet = true;
        }
        out += lines.at(i);
    }
    return out;
}

void ServerCard::editNames(Edit& edit, const Contact& wanted, const Contact& now) const
{
    if (wanted.fname == now.fname && wanted.lname == now.lname &&
        (wanted.busName == now.busName || !wanted.fname.trimmed().isEmpty() || !wanted.lname.trimmed().isEmpty()))
        return;
    const int n = find(QStringLiteral("N"));
    QStringList parts = n >= 0 ? m_lines.at(n).parsed.components : QStringList();
    while (parts.size() < 5)
        parts << QString();
    // Without an N the entry's names came from FN.
    if (n < 0) {
        parts[0] = now.lname.trimmed();
        parts[1] = now.fname.trimmed();
    }
    const QString family = parts[0];
    const QString given = parts[1];
    // Only the part that changed: a given name cut to its column stays whole when the family name is edited, and
    // the prefix, the middle names and the suffix stay as they are.
    if (wanted.lname != now.lname)
        parts[0] = wanted.lname.trimmed();
    if (wanted.fname != now.fname)
        parts[1] = wanted.fname.trimmed();

    // FN keeps its own wording (a title, a nickname, the order of the names) with the changed part replaced where
    // it stands; one that does not hold it is written from N's parts.
    const int fn = find(QStringLiteral("FN"));
    QString formatted = fn >= 0 ? m_lines.at(fn).parsed.value.simplified() : QString();
    const bool inPlace = !formatted.isEmpty() && formatted.compare(now.busName.trimmed(), Qt::CaseInsensitive) != 0 &&
                         (parts[0] == family || replaceWord(formatted, family, parts[0], true)) &&
                         (parts[1] == given || replaceWord(formatted, given, parts[1], false));
    if (!inPlace)
        formatted = QStringList{parts[3], parts[1], parts[2], parts[0], parts[4]}.join(QLatin1Char(' ')).simplified();
    if (parts[0].isEmpty() && parts[1].isEmpty())
        formatted = displayName(wanted);
    edit.set(n, n >= 0 ? withValue(m_lines.at(n).raw, VCardLineWriter::structured(parts))
                       : VCardLineWriter::line("N", parts));
    edit.set(fn, fn >= 0 ? withValue(m_lines.at(fn).raw, VCardLineWriter::escaped(formatted))
                         : VCardLineWriter::line("FN", {formatted}));
}

void ServerCard::editOrganisation(Edit& edit, const Contact& wanted, const Contact& now) const
{
    if (wanted.busName == now.busName && wanted.category == now.category)
        return;
    const int org = find(QStringLiteral("ORG"));
    if (wanted.category != ::Book::Business.name()) {
        if (org >= 0)
            edit.removed[org] = true;
        return;
    }
    QStringList parts = org >= 0 ? m_lines.at(org).parsed.components : QStringList{QString()};
    if (parts.isEmpty())
        parts << QString();
    if (wanted.busName != now.busName || org < 0)
        parts[0] = wanted.busName.trimmed();
    edit.set(org, org >= 0 ? withValue(m_lines.at(org).raw, VCardLineWriter::structured(parts))
                           : VCardLineWriter::line("ORG", parts));
}

void ServerCard::editCategories(Edit& edit, const Contact& wanted, const Contact& now) const
{
    // The book travels as a category, beside whatever categories the card has of its own.
    if (wanted.category == now.category)
        return;
    const int line = find(QStringLiteral("CATEGORIES"));
    QStringList items;
    if (line >= 0) {
        for (const QString& item : m_lines.at(line).parsed.value.split(QLatin1Char(','))) {
            const QString kept = item.trimmed();
            const bool bookName = kept.compare(::Book::Personal.name(), Qt::CaseInsensitive) == 0 ||
                                  kept.compare(::Book::Business.name(), Qt::CaseInsensitive) == 0;
            if (!kept.isEmpty() && !bookName)
                items << VCardLineWriter::escaped(kept);
        }
    }
    items << wanted.category;
    edit.set(line, line >= 0 ? withValue(m_lines.at(line).raw, items.join(QLatin1Char(',')))
                             : VCardLineWriter::folded("CATEGORIES:" + items.join(QLatin1Char(',')).toUtf8()));
}

void ServerCard::editAddress(Edit& edit, const Contact& wanted, const Contact& now) const
{
    if (wanted.address == now.address && wanted.city == now.city && wanted.state == now.state && wanted.zip == now.zip)
        return;
    int adr = -1;
    for (int i = 0; i < m_lines.size() && adr < 0; ++i) {
        const Line& line = m_lines.at(i);
        if (line.property && line.parsed.name == QLatin1String("ADR") &&
            !line.parsed.components.join(QString()).trimmed().isEmpty())
            adr = i;
    }
    QStringList parts = adr >= 0 ? m_lines.at(adr).parsed.components : QStringList();
    while (parts.size() < 7)
        parts << QString();
    if (wanted.address != now.address)
        parts[2] = wanted.address.trimmed();
    if (wanted.city != now.city)
        parts[3] = wanted.city.trimmed();
    if (wanted.state != now.state)
        parts[4] = wanted.state.trimmed();
    if (wanted.zip != now.zip) {
        parts[5] = VCardLineWriter::numberValue(wanted.zip);
        editStoredForm(edit, Columns::of(&Contact::zip).columnName(), wanted.zip);
    }
    const bool empty = parts.join(QString()).trimmed().isEmpty();
    const bool business = wanted.category == ::Book::Business.name();
    if (adr >= 0 && empty)
        edit.removed[adr] = true;
    else if (adr >= 0 || !empty)
        edit.set(adr, adr >= 0 ? withValue(m_lines.at(adr).raw, VCardLineWriter::structured(parts))
                               : VCardLineWriter::line(business ? "ADR;TYPE=WORK" : "ADR;TYPE=HOME", parts));
}

void ServerCard::editNumbers(Edit& edit, const Contact& wanted, const Contact& now, const Contact& raw) const
{
    const bool business = wanted.category == ::Book::Business.name();
    for (int column = Pel; column <= Tel2; ++column) {
        const QString& target = numberOf(wanted, column);
        if (target == numberOf(now, column))
            continue;
        const int source = sourceOf(raw, column);
        const QString value = VCardLineWriter::numberValue(target);
        if (source >= 0) {
            if (value.isEmpty())
                edit.removed[source] = true;
            else if (m_lines.at(source).parsed.value.trimmed().startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                edit.lines[source] = withValue(m_lines.at(source).raw, QStringLiteral("tel:") + value);
            else
                edit.lines[source] = withValue(m_lines.at(source).raw, VCardLineWriter::escaped(value));
        } else if (!value.isEmpty()) {
            const char* type = column == Pel   ? "CELL"
                               : column == Fax ? (business ? "WORK,FAX" : "HOME,FAX")
                                               : (business ? "WORK,VOICE" : "HOME,VOICE");
            edit.added << VCardLineWriter::line(QByteArray("TEL;TYPE=") + type, {value});
        }
        editStoredForm(edit, columnName(column), target);
    }
}

QByteArray ServerCard::patched(const Contact& wanted, const QString& book) const
{
    const std::optional<Contact> now = entry(book);
    if (!now)
        return created(wanted, QString());
    const auto parsed = VCardParser::parse(m_text, QStringLiteral("UTF-8"));
    ProblemList problems;
    const Contact raw = VCardReader::contact(parsed.cards.first(), problems, book).value_or(Contact{});

    Edit edit;
    for (const Line& line : m_lines) {
        edit.lines << line.raw;
        edit.removed << false;
    }
    editNames(edit, wanted, *now);
    editOrganisation(edit, wanted, *now);
    editCategories(edit, wanted, *now);
    editAddress(edit, wanted, *now);
    editNumbers(edit, wanted, *now, raw);
    return edit.text();
}

QByteArray ServerCard::created(const Contact& entry, const QString& uid)
{
    QByteArray card = VCardWriter::write({entry}, VCardWriter::Version::V30);
    const qsizetype version = card.indexOf("VERSION:3.0\r\n");
    if (version >= 0 && !uid.isEmpty())
        card.insert(version + 13, VCardLineWriter::line("UID", {uid}));
    // A partly typed value goes as its digits (above) and as the entry window stored it.
    QByteArray forms;
    // The numbers' forms first, then the zip's.
    for (const char* mask : {Columns::kTelephoneMask, Columns::kZipMask}) {
        for (const Columns::Column& column : Columns::kAll) {
            const QString& stored = entry.*column.field;
            if (column.mask == mask && StoredForms::needed(stored))
                forms += VCardLineWriter::folded(StoredForms::property(column.columnName()).toLatin1() + ':' +
                                                 stored.toUtf8());
        }
    }
    card.insert(card.indexOf("END:VCARD"), forms);
    // A card needs a formatted name; an entry of numbers alone is named by its first one.
    if (card.contains("\r\nFN:\r\n") || !card.contains("\r\nFN:")) {
        QString name;
        for (int column = Pel; column <= Tel2 && name.isEmpty(); ++column)
            name = VCardLineWriter::numberValue(numberOf(entry, column));
        card.replace("\r\nFN:\r\n", "\r\n");
        card.insert(card.indexOf("\r\nEND:VCARD") + 2, VCardLineWriter::line("FN", {name}));
    }
    return card;
}
