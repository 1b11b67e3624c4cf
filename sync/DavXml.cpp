#include "DavXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <functional>

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCard = QStringLiteral("urn:ietf:params:xml:ns:carddav");

bool is(const QXmlStreamReader& xml, const QString& ns, const char* name)
{
    return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

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

int statusOf(const QString& line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

QString resolved(const QUrl& base, const QString& href)
{
    return base.resolved(QUrl(href.trimmed())).path(QUrl::FullyEncoded);
}

// The first DAV:href inside the element the reader is on.
QString hrefInside(QXmlStreamReader& xml, const QUrl& base)
{
    QString found;
    while (xml.readNextStartElement()) {
        if (found.isNull() && is(xml, kDav, "href"))
            found = resolved(base, xml.readElementText());
        else
            xml.skipCurrentElement();
    }
    return found;
}

void readProp(QXmlStreamReader& xml, const QUrl& base, DavXml::Response& into)
{
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, "getetag"))
            into.etag = xml.readElementText().trimmed();
        else if (is(xml, kCard, "address-data"))
            into.addressData = crlf(xml.readElementText().toUtf8());
        else if (is(xml, kDav, "displayname"))
            into.displayName = xml.readElementText().trimmed();
        else if (is(xml, kDav, "current-user-principal"))
            into.principal = hrefInside(xml, base);
        else if (is(xml, kCard, "addressbook-home-set"))
            into.homeSet = hrefInside(xml, base);
        else if (is(xml, kDav, "resourcetype")) {
            while (xml.readNextStartElement()) {
                if (is(xml, kCard, "addressbook"))
                    into.isAddressBook = true;
                xml.skipCurrentElement();
            }
        } else
            xml.skipCurrentElement();
    }
}

DavXml::Response readResponse(QXmlStreamReader& xml, const QUrl& base)
{
    DavXml::Response response;
    int ownStatus = 0;
    int propStatus = 0;
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, "href")) {
            response.href = resolved(base, xml.readElementText());
        } else if (is(xml, kDav, "status")) {
            ownStatus = statusOf(xml.readElementText());
        } else if (is(xml, kDav, "propstat")) {
            DavXml::Response props;
            int status = 0;
            while (xml.readNextStartElement()) {
                if (is(xml, kDav, "prop"))
                    readProp(xml, base, props);
                else if (is(xml, kDav, "status"))
                    status = statusOf(xml.readElementText());
                else
                    xml.skipCurrentElement();
            }
            // Only properties the server found count; a 404 propstat lists the ones it does not have.
            if (status >= 200 && status < 300) {
                propStatus = status;
                response.etag = props.etag;
                response.addressData = props.addressData;
                response.isAddressBook = props.isAddressBook;
                response.displayName = props.displayName;
                response.principal = props.principal;
                response.homeSet = props.homeSet;
            } else if (propStatus == 0) {
                propStatus = status;
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    response.status = ownStatus ? ownStatus : (propStatus ? propStatus : 200);
    return response;
}

QByteArray document(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeNamespace(kDav, QStringLiteral("d"));
    xml.writeNamespace(kCard, QStringLiteral("c"));
    body(xml);
    xml.writeEndDocument();
    return bytes;
}

void props(QXmlStreamWriter& xml, const QStringList& davProps, const QStringList& cardProps)
{
    xml.writeStartElement(kDav, QStringLiteral("prop"));
    for (const QString& name : davProps)
        xml.writeEmptyElement(kDav, name);
    for (const QString& name : cardProps)
        xml.writeEmptyElement(kCard, name);
    xml.writeEndElement();
}

} // namespace

DavXml::Multistatus DavXml::parse(const QByteArray& body, const QUrl& requestUrl)
{
    Multistatus result;
    QXmlStreamReader xml(body);
    bool seenRoot = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (!seenRoot) {
            seenRoot = true;
            if (!is(xml, kDav, "multistatus")) {
                result.error = QStringLiteral("the answer is no WebDAV multistatus");
                return result;
            }
            continue;
        }
        if (is(xml, kDav, "response"))
            result.responses.append(readResponse(xml, requestUrl));
        else if (is(xml, kDav, "sync-token"))
            result.syncToken = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError())
        result.error = QStringLiteral("malformed XML at line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    else if (!seenRoot)
        result.error = QStringLiteral("the answer is empty");
    return result;
}

QByteArray DavXml::propfind(const QStringList& davProps, const QStringList& cardProps)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(kDav, QStringLiteral("propfind"));
        props(xml, davProps, cardProps);
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
