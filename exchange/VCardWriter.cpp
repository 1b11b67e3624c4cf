#include "exchange/VCardWriter.h"

#include "data/Book.h"
#include "exchange/PhoneNumbers.h"
#include "exchange/VCardLineWriter.h"

#include <QStringList>
#include <algorithm>

namespace {

constexpr qsizetype kLineOctets = 75;
const QByteArray kCrlf("\r\n");

bool isPrintableAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class CardWriter
{
public:
    CardWriter(QByteArray& out, VCardWriter::Version version) : m_out(out), m_version(version) {}

    void plain(const QByteArray& line) { m_out += line + kCrlf; }

    // Each component escaped on its own, so the reader splits them again exactly where they were.
    void text(const QByteArray& nameAndParameters, const QStringList& components)
    {
        if (m_version != VCardWriter::Version::V21) {
            m_out += VCardLineWriter::line(nameAndParameters, components);
            return;
        }
        QList<QByteArray> parts;
        for (const QString& component : components)
            parts.append(escaped21(component));
        const QByteArray value = parts.join(';');
        if (isPrintableAscii(value) && nameAndParameters.size() + 1 + value.size() <= kLineOctets) {
            plain(nameAndParameters + ':' + value);
        } else {
            QByteArray header = nameAndParameters;
            if (!isAscii(value))
                header += ";CHARSET=UTF-8";
            quotedPrintable(header + ";ENCODING=QUOTED-PRINTABLE:", value);
        }
    }

private:
    // vCard 2.1 knows no escaped line break or comma: its line breaks are quoted-printable, and phones read them
    // only as CR LF.
    static QByteArray escaped21(const QString& component)
    {
        QString text = component;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QString out;
        out.reserve(text.size());
        for (const QChar c : text) {
            if (c == QLatin1Char('\\') || c == QLatin1Char(';'))
                out += QLatin1Char('\\');
            out += c == QLatin1Char('\n') ? QStringLiteral("\r\n") : QString(c);
        }
        return out.toUtf8();
    }

    void quotedPrintable(const QByteArray& header, const QByteArray& value)
    {
        const auto encoded = [](QByteArrayView bytes, bool lineStart) {
            QByteArray token;
            for (const char c : bytes) {
                const auto byte = static_cast<unsigned char>(c);
                // A line of its own starting "BEGIN:" or "END:" would end the card for a reader that looks for those
                // first, so a continuation line never starts with a plain letter.
                const bool plain = ((byte >= 33 && byte <= 126 && byte != '=') || byte == ' ') &&
                                   !(lineStart && QChar::isLetter(byte));
                if (plain)
                    token += c;
                else
                    token += '=' + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0');
            }
            return token;
        };
        QByteArray line = header;
        for (qsizetype i = 0; i < value.size();) {
            // A character's bytes stay on one line: some phones decode each line on its own.
            qsizetype end = i + 1;
            while (end < value.size() && (static_cast<unsigned char>(value.at(end)) & 0xC0) == 0x80)
                ++end;
            const QByteArrayView bytes(value.constData() + i, end - i);
            i = end;
            QByteArray token = encoded(bytes, false);
            // the soft break's "=" counts too
            if (line.size() + token.size() > kLineOctets - 1) {
                m_out += line + '=' + kCrlf;
                line.clear();
                token = encoded(bytes, true);
            }
            line += token;
        }
        m_out += line + kCrlf;
    }

    QByteArray& m_out;
    VCardWriter::Version m_version;
};

} // namespace

QByteArray VCardWriter::write(const QList<Contact>& contacts, Version version)
{
    QByteArray out;
    const bool v4 = version == Version::V40;
    const auto types = [&](QByteArrayList list) {
        if (v4) {
            for (QByteArray& type : list)
                type = type.toLower();
            // Unquoted: a comma list is a plain parameter value, and readers that split on quotes lose the types.
            return ";TYPE=" + list.join(',');
        }
        return version == Version::V21 ? ';' + list.join(';') : ";TYPE=" + list.join(',');
    };

    for (const Contact& contact : contacts) {
        CardWriter card(out, version);
        card.plain("BEGIN:VCARD");
        card.plain(version == Version::V21 ? "VERSION:2.1" : v4 ? "VERSION:4.0" : "VERSION:3.0");

        const bool business = contact.category == ::Book::Business.name();
        const QString fname = contact.fname.trimmed();
        const QString lname = contact.lname.trimmed();
        const QString busName = business ? contact.busName.trimmed() : QString();
        card.text("N", {lname, fname, QString(), QString(), QString()});
        QString shown = QStringList{fname, lname}.join(QLatin1Char(' ')).trimmed();
        card.text("FN", {shown.isEmpty() ? busName : shown});
        if (!busName.isEmpty())
            card.text("ORG", {busName});
        // The book, so that a business entry without a company comes back a business one (vCard 2.1 phones know
        // no categories).
        if (version != Version::V21)
            card.text("CATEGORIES", {business ? ::Book::Business.name() : ::Book::Personal.name()});

        const QByteArray where = business ? "WORK" : "HOME";
        const QString address = contact.address.trimmed();
        const QString city = contact.city.trimmed();
        const QString state = contact.state.trimmed();
        // An untyped zip is its mask ("_____"), no postal code at all.
        const QString zip = VCardLineWriter::numberValue(contact.zip);
        if (!address.isEmpty() || !city.isEmpty() || !state.isEmpty() || !zip.isEmpty())
            card.text("ADR" + types({where}), {QString(), QString(), address, city, state, zip, QString()});

        const auto number = [&](const QString& stored, const QByteArrayList& typeList) {
            const QString text = VCardLineWriter::numberValue(stored);
            if (text.isEmpty())
                return;
            // vCard 4.0 wants a tel: URI, which must be global (RFC 3966); a number the user's region cannot make
            // global, exactly as stored, goes as text.
            const QString uri = v4 ? PhoneNumbers::telUri(text) : QString();
            if (!uri.isEmpty())
                card.text("TEL" + types(typeList) + ";VALUE=uri", {uri});
            else
                card.text("TEL" + types(typeList) + (v4 ? ";VALUE=text" : ""), {text});
        };
        number(contact.tel1, {where, "VOICE"});
        number(contact.tel2, {where, "VOICE"});
        number(contact.pel, {"CELL"});
        number(contact.fax, {where, "FAX"});
        card.plain("END:VCARD");
    }
    return out;
}
