#include "sync/DavXml.h"

#include "sync/ServerText.h"

#include <QCoreApplication>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <functional>

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCard = QStringLiteral("urn:ietf:params:xml:ns:carddav");
const QString kCal = QStringLiteral("urn:ietf:params:xml:ns:caldav");

// XML reads every line break as LF; a card's lines end in CR LF, as the server holds them.
QByteArray crlf(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 40);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '\n' && (i == 0 || text.at(i - 1) != '\r'))
            out += '\r';
        out += text.at(i);
    }
    return out;
}

QString resolved(const QUrl& base, const QString& href)
{
    return base.resolved(QUrl(href.trimmed())).path(QUrl::FullyEncoded);
}

// What a character XML does not allow becomes on the way in: a noncharacter, which XML allows and no card means.
constexpr char kMarker[] = "\xEF\xB7\x90"; // U+FDD0
constexpr QChar kMarkerChar(0xFDD0);

bool forbidden(unsigned char c)
{
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

} // namespace

// The bytes of an answer on their way to the XML reader, so that what the reader holds at once stays small and one
// bad character spoils no more than the card it is in:
// - a character XML does not allow becomes the marker (see kMarker), so the card holding it can be told and left;
// - a run of text or CDATA longer than kRun is split (an empty comment, or a CDATA section closed and opened again),
//   which changes no text but lets the reader hand it over in pieces;
// - a comment's content is left out; a tag or a declaration longer than kRun ends the answer as malformed.
class DavXml::Reader::Filter
{
public:
    static constexpr qsizetype kRun = 64 * 1024;

    // False when the answer is malformed beyond reading (`error` says why).
    bool add(const QByteArray& bytes, QByteArray& out)
    {
        out.reserve(bytes.size() + bytes.size() / kRun * 16 + 16);
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const char c = bytes.at(i);
            if (m_state == State::Text && !m_plain && m_decided) {
                // Plain text goes on in one piece, up to the next byte that means something here.
                qsizetype end = i;
                while (end < bytes.size() && m_run + (end - i) < kRun && ordinary(bytes.at(end)))
                    ++end;
                if (end > i) {
                    out.append(bytes.constData() + i, end - i);
                    m_run += end - i;
                    m_inReference = false;
                    i = end - 1;
                    continue;
                }
            }
            if (!m_decided) {
                // An answer in UTF-16 is passed on as it is: its bytes are not characters.
                m_decided = true;
                m_plain = c == '\0' || c == '\xFE' || c == '\xFF';
            }
            if (m_plain) {
                out += c;
                continue;
            }
            if (!step(static_cast<unsigned char>(c), out))
                return false;
        }
        return true;
    }
    QString error;

private:
    enum class State { Text, Open, Markup, Comment, CData, Pi };

    // A byte of text that needs no look in the text state (outside a reference).
    bool ordinary(char c) const
    {
        return !m_inReference && c != '<' && c != '&' && !forbidden(static_cast<unsigned char>(c));
    }

    void put(unsigned char c, QByteArray& out)
    {
        if (forbidden(c))
            out += kMarker;
        else
            out += char(c);
    }
    bool step(unsigned char c, QByteArray& out)
    {
        ++m_run;
        switch (m_state) {
        case State::Text:
            return inText(c, out);
        case State::Open:
            return opening(c, out);
        case State::Markup:
            return inMarkup(c, out);
        case State::Pi:
            return inPi(c, out);
        case State::Comment:
            return inComment(c, out);
        case State::CData:
            return inCData(c, out);
        }
        return true;
    }
    bool inText(unsigned char c, QByteArray& out)
    {
        if (c == '<') {
            m_state = State::Open;
            m_open = "<";
            return true;
        }
        m_inReference = c == '&' || (m_inReference && c != ';');
        if (m_run > kRun && !m_inReference && (c & 0xC0) != 0x80) {
            out += "<!---->";
            m_run = 0;
        }
        put(c, out);
        return true;
    }
    // After '<': a comment, a CDATA section, or (told apart once a byte rules both out) a tag or an instruction.
    bool opening(unsigned char c, QByteArray& out)
    {
        m_open += char(c);
        if (m_open == "<!--") {
            out += m_open;
            m_state = State::Comment;
            m_tail = 0;
        } else if (m_open == "<![CDATA[") {
            out += m_open;
            m_state = State::CData;
            m_tail = 0;
            m_run = 0;
        } else if (QByteArray("<![CDATA[").startsWith(m_open) || QByteArray("<!--").startsWith(m_open)) {
            return true;
        } else {
            m_state = m_open.startsWith("<?") ? State::Pi : State::Markup;
            m_quote = 0;
            m_depth = 0;
            m_tail = 0;
            m_run = 0;
            const QByteArray open = m_open;
            m_open.clear();
            for (const char o : open.mid(0, open.size() - 1))
                put(static_cast<unsigned char>(o), out);
            m_run = 0;
            return step(static_cast<unsigned char>(open.back()), out);
        }
        m_open.clear();
        return true;
    }
    bool inMarkup(unsigned char c, QByteArray& out)
    {
        put(c, out);
        if (m_quote) {
            m_quote = c == m_quote ? 0 : m_quote;
        } else if (c == '"' || c == '\'') {
            m_quote = c;
        } else if (c == '[') {
            ++m_depth;
        } else if (c == ']') {
            --m_depth;
        } else if (c == '>' && m_depth <= 0) {
            m_state = State::Text;
            m_run = 0;
            return true;
        }
        return longest(QCoreApplication::translate("DavXml", "a tag"));
    }
    bool inPi(unsigned char c, QByteArray& out)
    {
        put(c, out);
        if (c == '>' && m_tail == '?') {
            m_state = State::Text;
            m_run = 0;
            return true;
        }
        m_tail = c;
        return longest(QCoreApplication::translate("DavXml", "a processing instruction"));
    }
    bool inComment(unsigned char c, QByteArray& out)
    {
        // "-->" ends it; what is before is left out.
        if (c == '>' && m_tail >= 2) {
            out += "-->";
            m_state = State::Text;
            m_run = 0;
            return true;
        }
        m_tail = c == '-' ? m_tail + 1 : 0;
        return true;
    }
    bool inCData(unsigned char c, QByteArray& out)
    {
        if (m_run > kRun && c != ']' && c != '>' && m_tail == 0 && (c & 0xC0) != 0x80) {
            out += "]]><![CDATA[";
            m_run = 0;
        }
        put(c, out);
        if (c == '>' && m_tail >= 2) {
            m_state = State::Text;
            m_run = 0;
        }
        m_tail = c == ']' ? m_tail + 1 : 0;
        return true;
    }
    bool longest(const QString& what)
    {
        if (m_run <= kRun)
            return true;
        error = QCoreApplication::translate("DavXml", "malformed XML: %1 longer than %2 kB").arg(what).arg(kRun / 1024);
        return false;
    }

    State m_state = State::Text;
    QByteArray m_open;
    qsizetype m_run = 0;
    int m_tail = 0;
    unsigned char m_quote = 0;
    int m_depth = 0;
    bool m_inReference = false;
    bool m_decided = false;
    bool m_plain = false;
};

namespace {

int statusOf(const QString& line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

QByteArray document(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeNamespace(kDav, QStringLiteral("d"));
    xml.writeNamespace(kCard, QStringLiteral("c"));
    xml.writeNamespace(kCal, QStringLiteral("cal"));
    body(xml);
    xml.writeEndDocument();
    return bytes;
}

void props(QXmlStreamWriter& xml, const QStringList& davProps, const QStringList& cardProps,
           const QStringList& calendarProps = {})
{
    xml.writeStartElement(kDav, QStringLiteral("prop"));
    for (const QString& name : davProps)
        xml.writeEmptyElement(kDav, name);
    for (const QString& name : cardProps)
        xml.writeEmptyElement(kCard, name);
    for (const QString& name : calendarProps)
        xml.writeEmptyElement(kCal, name);
    xml.writeEndElement();
}

} // namespace

namespace {

enum class Tag {
    Other,
    Multistatus,
    Response,
    Href,
    Status,
    Propstat,
    Prop,
    Getetag,
    AddressData,
    DisplayName,
    Principal,
    HomeSet,
    ResourceType,
    AddressBook,
    CalendarHomeSet,
    Calendar,
    Components,
    Component,
    SyncToken
};

Tag tagOf(const QXmlStreamReader& xml)
{
    if (xml.namespaceUri() == kCard) {
        if (xml.name() == QLatin1String("address-data"))
            return Tag::AddressData;
        if (xml.name() == QLatin1String("addressbook-home-set"))
            return Tag::HomeSet;
        if (xml.name() == QLatin1String("addressbook"))
            return Tag::AddressBook;
        return Tag::Other;
    }
    if (xml.namespaceUri() == kCal) {
        static const QList<QPair<QLatin1String, Tag>> calendarNames{
            {QLatin1String("calendar-home-set"), Tag::CalendarHomeSet},
            {QLatin1String("calendar"), Tag::Calendar},
            {QLatin1String("supported-calendar-component-set"), Tag::Components},
            {QLatin1String("comp"), Tag::Component},
            {QLatin1String("calendar-data"), Tag::AddressData}};
        for (const auto& [name, tag] : calendarNames) {
            if (xml.name() == name)
                return tag;
        }
        return Tag::Other;
    }
    if (xml.namespaceUri() != kDav)
        return Tag::Other;
    static const QList<QPair<QLatin1String, Tag>> names{{QLatin1String("multistatus"), Tag::Multistatus},
                                                        {QLatin1String("response"), Tag::Response},
                                                        {QLatin1String("href"), Tag::Href},
                                                        {QLatin1String("status"), Tag::Status},
                                                        {QLatin1String("propstat"), Tag::Propstat},
                                                        {QLatin1String("prop"), Tag::Prop},
                                                        {QLatin1String("getetag"), Tag::Getetag},
                                                        {QLatin1String("displayname"), Tag::DisplayName},
                                                        {QLatin1String("current-user-principal"), Tag::Principal},
                                                        {QLatin1String("resourcetype"), Tag::ResourceType},
                                                        {QLatin1String("sync-token"), Tag::SyncToken}};
    for (const auto& [name, tag] : names) {
        if (xml.name() == name)
            return tag;
    }
    return Tag::Other;
}

// The most of any text but a card's that is kept: an href or an ETag is never near it.
constexpr qsizetype kLongestText = 64 * 1024;

} // namespace

struct DavXml::Reader::State
{
    Filter filter;
    QXmlStreamReader xml;
    qint64 cardBytes = 0;
    Multistatus result;
    QList<Tag> path;
    bool seenRoot = false;
    bool stopped = false;
    QString stopError;
    // The response being read, the propstat in it, and the text of the element being read.
    Response response;
    int ownStatus = 0;
    int propStatus = 0;
    Response props;
    int status = 0;
    QString text;
    QByteArray card;
    bool cardTooLarge = false;

    bool at(std::initializer_list<Tag> tags) const
    {
        return path.size() == qsizetype(tags.size()) && std::equal(tags.begin(), tags.end(), path.cbegin());
    }
    void opened(Tag tag);
    void characters(QStringView piece);
    void closed();
    void cardClosed();
    void propstatClosed();
};

void DavXml::Reader::State::opened(Tag tag)
{
    using T = Tag;
    path.append(tag);
    text.clear();
    if (!seenRoot) {
        seenRoot = true;
        if (tag != T::Multistatus) {
            stopped = true;
            stopError = QCoreApplication::translate("DavXml", "the answer is no WebDAV multistatus");
        }
    } else if (at({T::Multistatus, T::Response})) {
        response = Response();
        ownStatus = propStatus = 0;
    } else if (at({T::Multistatus, T::Response, T::Propstat})) {
        props = Response();
        status = 0;
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::AddressData})) {
        card.clear();
        cardTooLarge = false;
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::ResourceType, T::AddressBook})) {
        props.isAddressBook = true;
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::ResourceType, T::Calendar})) {
        props.isCalendar = true;
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::Components, T::Component})) {
        const QString name = xml.attributes().value(QLatin1String("name")).toString().trimmed().toUpper();
        if (!name.isEmpty() && name.size() < 64 && props.components.size() < 64)
            props.components.append(name);
    }
}

void DavXml::Reader::State::characters(QStringView piece)
{
    if (at({Tag::Multistatus, Tag::Response, Tag::Propstat, Tag::Prop, Tag::AddressData})) {
        if (!cardTooLarge) {
            const QByteArray bytes = piece.toUtf8();
            if (card.size() + bytes.size() <= cardBytes) {
                card += bytes;
            } else {
                cardTooLarge = true;
                card = QByteArray();
            }
        }
    } else if (text.size() < kLongestText) {
        text += piece;
    }
}

void DavXml::Reader::State::closed()
{
    using T = Tag;
    if (at({T::Multistatus, T::SyncToken})) {
        result.syncToken = text.trimmed();
    } else if (at({T::Multistatus, T::Response, T::Href})) {
        response.href = text;
    } else if (at({T::Multistatus, T::Response, T::Status})) {
        ownStatus = statusOf(text);
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Status})) {
        status = statusOf(text);
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::Getetag})) {
        props.etag = text.trimmed();
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::DisplayName})) {
        props.displayName = text.trimmed();
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::Principal, T::Href})) {
        if (props.principal.isNull())
            props.principal = text;
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::HomeSet, T::Href})) {
        if (props.homeSet.isNull())
            props.homeSet = text;
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::CalendarHomeSet, T::Href})) {
        if (props.calendarHomeSet.isNull())
            props.calendarHomeSet = text;
    } else if (at({T::Multistatus, T::Response, T::Propstat, T::Prop, T::AddressData})) {
        cardClosed();
    } else if (at({T::Multistatus, T::Response, T::Propstat})) {
        propstatClosed();
    } else if (at({T::Multistatus, T::Response})) {
        response.status = ownStatus ? ownStatus : (propStatus ? propStatus : 200);
        result.responses.append(response);
    }
    path.removeLast();
    text.clear();
}

void DavXml::Reader::State::cardClosed()
{
    if (cardTooLarge)
        props.problem =
            cardBytes >= (1 << 20)
                ? QCoreApplication::translate("DavXml", "the card is larger than %1 MB").arg(cardBytes >> 20)
                : QCoreApplication::translate("DavXml", "the card is larger than %1 kB").arg(cardBytes >> 10);
    else if (card.contains(kMarker))
        props.problem = QCoreApplication::translate("DavXml", "the card holds characters XML does not allow");
    else
        props.addressData = crlf(card);
    card = QByteArray();
}

void DavXml::Reader::State::propstatClosed()
{
    // Only properties the server found count; a 404 propstat lists the ones it does not have.
    if (status >= 200 && status < 300) {
        propStatus = status;
        props.href = response.href;
        response = props;
    } else if (propStatus == 0) {
        propStatus = status;
    }
}

DavXml::Reader::Reader(qint64 cardBytes) : m_state(new State)
{
    m_state->cardBytes = cardBytes;
}

DavXml::Reader::~Reader() = default;

bool DavXml::Reader::add(const QByteArray& bytes)
{
    State& s = *m_state;
    if (s.stopped)
        return false;
    QByteArray filtered;
    if (!s.filter.add(bytes, filtered)) {
        s.stopped = true;
        s.stopError = s.filter.error;
        return false;
    }
    s.xml.addData(filtered);
    read();
    return !s.stopped;
}

void DavXml::Reader::read()
{
    State& s = *m_state;
    QXmlStreamReader& xml = s.xml;
    while (!s.stopped && !xml.atEnd()) {
        xml.readNext();
        if (xml.hasError())
            break;
        if (xml.isStartElement())
            s.opened(tagOf(xml));
        else if (xml.isCharacters())
            s.characters(xml.text());
        else if (xml.isEndElement())
            s.closed();
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        s.stopped = true;
        s.stopError = QCoreApplication::translate("DavXml", "malformed XML at line %1: %2")
                          .arg(xml.lineNumber())
                          .arg(xml.errorString());
    }
}

DavXml::Multistatus DavXml::Reader::finish(const QUrl& requestUrl)
{
    State& s = *m_state;
    Multistatus result = std::move(s.result);
    if (s.stopped)
        result.error = s.stopError;
    else if (s.xml.hasError())
        result.error = QCoreApplication::translate("DavXml", "malformed XML at line %1: %2")
                           .arg(s.xml.lineNumber())
                           .arg(s.xml.errorString());
    else if (!s.seenRoot)
        result.error = QCoreApplication::translate("DavXml", "the answer is empty");
    result.syncToken = result.syncToken.isNull() ? result.syncToken : ServerText::shown(result.syncToken);
    for (Response& response : result.responses) {
        // Text a server sent is kept only as safe text; an ETag that is not is none (it would be sent back).
        response.displayName = ServerText::shown(response.displayName);
        if (ServerText::shown(response.etag) != response.etag)
            response.etag.clear();
        // An href on another host (or scheme, or port) stays whole, so no one takes it for a path on this one.
        const QUrl href = requestUrl.resolved(QUrl(response.href.trimmed()));
        const bool elsewhere = href.scheme() != requestUrl.scheme() || href.host() != requestUrl.host() ||
                               href.port() != requestUrl.port();
        response.href = elsewhere ? QString::fromUtf8(href.toEncoded()) : href.path(QUrl::FullyEncoded);
        if (!response.principal.isNull())
            response.principal = resolved(requestUrl, response.principal);
        if (!response.homeSet.isNull())
            response.homeSet = resolved(requestUrl, response.homeSet);
        if (!response.calendarHomeSet.isNull())
            response.calendarHomeSet = resolved(requestUrl, response.calendarHomeSet);
    }
    return result;
}

DavXml::Multistatus DavXml::parse(const QByteArray& body, const QUrl& requestUrl)
{
    Reader reader;
    reader.add(body);
    return reader.finish(requestUrl);
}

QByteArray DavXml::propfind(const QStringList& davProps, const QStringList& cardProps, const QStringList& calendarProps)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kDav, QStringLiteral("propfind"));
        props(xml, davProps, cardProps, calendarProps);
        xml.writeEndElement();
    });
}

QByteArray DavXml::syncCollection(const QString& token)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kDav, QStringLiteral("sync-collection"));
        xml.writeTextElement(kDav, QStringLiteral("sync-token"), token);
        xml.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
        props(xml, {QStringLiteral("getetag")}, {});
        xml.writeEndElement();
    });
}

QByteArray DavXml::multiget(const QStringList& hrefs)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kCard, QStringLiteral("addressbook-multiget"));
        props(xml, {QStringLiteral("getetag")}, {QStringLiteral("address-data")});
        for (const QString& href : hrefs)
            xml.writeTextElement(kDav, QStringLiteral("href"), href);
        xml.writeEndElement();
    });
}

QByteArray DavXml::taskMultiget(const QStringList& hrefs)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kCal, QStringLiteral("calendar-multiget"));
        props(xml, {QStringLiteral("getetag")}, {}, {QStringLiteral("calendar-data")});
        for (const QString& href : hrefs)
            xml.writeTextElement(kDav, QStringLiteral("href"), href);
        xml.writeEndElement();
    });
}

QByteArray DavXml::makeAddressBook(const QString& name)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kDav, QStringLiteral("mkcol"));
        xml.writeStartElement(kDav, QStringLiteral("set"));
        xml.writeStartElement(kDav, QStringLiteral("prop"));
        xml.writeStartElement(kDav, QStringLiteral("resourcetype"));
        xml.writeEmptyElement(kDav, QStringLiteral("collection"));
        xml.writeEmptyElement(kCard, QStringLiteral("addressbook"));
        xml.writeEndElement();
        xml.writeTextElement(kDav, QStringLiteral("displayname"), name);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

QByteArray DavXml::makeTaskList(const QString& name)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kCal, QStringLiteral("mkcalendar"));
        xml.writeStartElement(kDav, QStringLiteral("set"));
        xml.writeStartElement(kDav, QStringLiteral("prop"));
        xml.writeTextElement(kDav, QStringLiteral("displayname"), name);
        xml.writeStartElement(kCal, QStringLiteral("supported-calendar-component-set"));
        xml.writeEmptyElement(kCal, QStringLiteral("comp"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("VTODO"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    });
}
