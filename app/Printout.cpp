#include "app/Printout.h"

#include "app/Bidi.h"
#include "data/Book.h"
#include "data/DateRules.h"
#include "data/DbError.h"
#include "exchange/TargetFile.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>

namespace {

const QString kNoNumber = QStringLiteral("___ - _______");
constexpr qreal kMarginMm = 10;

// Lays out lines down the pages of a device: a title on the first page, a page number at the foot of each.
class Pages
{
public:
    Pages(QPagedPaintDevice& device, const QString& title) : m_device(device)
    {
        // Margins a printer keeps on the paper: nothing is drawn in its unprintable edge.
        const QMarginsF margins = device.pageLayout().margins(QPageLayout::Millimeter);
        const auto atLeast = [](qreal mm) { return std::max(mm, kMarginMm); };
        device.setPageMargins(QMarginsF(atLeast(margins.left()), atLeast(margins.top()), atLeast(margins.right()),
                                        atLeast(margins.bottom())),
                              QPageLayout::Millimeter);
        // Nothing is drawn on a painter that did not start: each call would only add a warning.
        if (!m_painter.begin(&device))
            throw DbError(-1, QCoreApplication::translate("Printout", "The printer could not be started."));
        const QRect page = m_painter.viewport();
        m_width = page.width();
        m_bottom = page.height() - lineHeight(footFont()) * 2;
        m_painter.setFont(titleFont());
        m_painter.drawText(QRect(0, 0, m_width, lineHeight(titleFont()) * 2), Qt::AlignLeft | Qt::AlignVCenter, title);
        m_y = lineHeight(titleFont()) * 3;
    }
    // The last page's footer, and the end of the document; throws when the device could not finish it.
    void finish()
    {
        footer();
        if (!m_painter.end())
            throw DbError(-1, QCoreApplication::translate("Printout", "The printout could not be finished."));
    }
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;

    int width() const { return m_width; }
    QPainter& painter() { return m_painter; }

    static QFont titleFont() { return font(16, true); }
    static QFont headingFont() { return font(13, true); }
    static QFont bodyFont() { return font(10, false); }
    static QFont footFont() { return font(8, false); }

    int lineHeight(const QFont& f) { return QFontMetrics(f, &m_device).lineSpacing(); }

    // The top of a block `height` high, on a new page when this one has no room for it.
    int place(int height)
    {
        if (m_y + height > m_bottom && m_y > 0) {
            footer();
            if (!m_device.newPage())
                throw DbError(
                    -1, QCoreApplication::translate("Printout", "The printer stopped after page %1.").arg(m_page));
            m_y = 0;
        }
        const int top = m_y;
        m_y += height;
        return top;
    }
    void skip(int height) { m_y += height; }

    // Text in its own direction: a right-to-left name reads right to left and stands at the right of its cell.
    void text(const QRect& cell, const QString& value, const QFont& f)
    {
        m_painter.setFont(f);
        QTextOption option(value.isRightToLeft() ? Qt::AlignRight | Qt::AlignVCenter
                                                 : Qt::AlignLeft | Qt::AlignVCenter);
        option.setTextDirection(value.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        option.setWrapMode(QTextOption::NoWrap);
        m_painter.drawText(cell, QFontMetrics(f, &m_device).elidedText(value, Qt::ElideRight, cell.width()), option);
    }

    // Text wrapped at word boundaries within `width`, in its own direction: the lines a block needs.
    QTextOption wrapped(const QString& value) const
    {
        QTextOption option(value.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft);
        option.setTextDirection(value.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        return option;
    }
    int wrappedHeight(int width, const QString& value, const QFont& f)
    {
        if (value.isEmpty())
            return 0;
        m_painter.setFont(f);
        return qCeil(m_painter.boundingRect(QRectF(0, 0, width, 1 << 20), value, wrapped(value)).height());
    }
    void wrappedText(const QRect& box, const QString& value, const QFont& f)
    {
        m_painter.setFont(f);
        m_painter.drawText(QRectF(box), value, wrapped(value));
    }
    // Items side by side as far as `width` holds them, then on the next line: an item is never broken.
    QStringList fill(int width, const QStringList& items, const QFont& f) const
    {
        const QFontMetrics metrics(f, &m_device);
        const QString separator = QStringLiteral("    ");
        QStringList lines;
        for (const QString& item : items) {
            if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + separator + item) <= width)
                lines.last() += separator + item;
            else
                lines << item;
        }
        return lines;
    }

private:
    static QFont font(int points, bool bold)
    {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPointSize(points);
        f.setBold(bold);
        return f;
    }
    void footer()
    {
        m_painter.setFont(footFont());
        m_painter.drawText(QRect(0, m_bottom + lineHeight(footFont()), m_width, lineHeight(footFont())),
                           Qt::AlignHCenter, QCoreApplication::translate("Printout", "Page %1").arg(++m_page));
    }

    QPagedPaintDevice& m_device;
    QPainter m_painter;
    int m_width = 0;
    int m_bottom = 0;
    int m_y = 0;
    int m_page = 0;
};

QString nameOf(const Contact& c)
{
    const QString person =
        c.lname.trimmed().isEmpty() || c.fname.trimmed().isEmpty()
            ? (c.lname.trimmed() + c.fname.trimmed())
            : Bidi::isolated(c.lname.trimmed()) + QStringLiteral(", ") + Bidi::isolated(c.fname.trimmed());
    if (c.category != Book::Business.name() || c.busName.trimmed().isEmpty())
        return person;
    return person.isEmpty() ? c.busName.trimmed()
                            : Bidi::isolated(c.busName.trimmed()) + QStringLiteral(" (") + person + QLatin1Char(')');
}

// Each number that is filled, with its label.
QStringList numbersOf(const Contact& c)
{
    QStringList parts;
    const std::pair<const char*, const QString*> numbers[] = {{QT_TRANSLATE_NOOP("Printout", "Tel"), &c.tel1},
                                                              {QT_TRANSLATE_NOOP("Printout", "Tel"), &c.tel2},
                                                              {QT_TRANSLATE_NOOP("Printout", "Cell"), &c.pel},
                                                              {QT_TRANSLATE_NOOP("Printout", "Fax"), &c.fax}};
    for (const auto& [label, value] : numbers) {
        const QString v = value->trimmed();
        if (!v.isEmpty() && v != kNoNumber)
            parts << QStringLiteral("%1 %2").arg(QCoreApplication::translate("Printout", label), Bidi::isolated(v));
    }
    return parts;
}

// The address on one line, as an envelope's last lines read: street, city, state and zip.
QString addressOf(const Contact& c)
{
    const QString zip = c.zip.trimmed() == QLatin1String("_____") ? QString() : c.zip.trimmed();
    const QString region = QStringList{c.state.trimmed(), zip}.join(QLatin1Char(' ')).trimmed();
    QStringList parts;
    for (const QString& part : {c.address.simplified(), c.city.trimmed(), region}) {
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(QStringLiteral(", "));
}

// The letter a name is filed under: its first letter without accents, as a capital.
QString initialOf(const Contact& c)
{
    const QString key = (c.category == Book::Business.name() ? c.busName : c.lname).trimmed();
    if (key.isEmpty())
        return QStringLiteral("#");
    const QChar first = key.normalized(QString::NormalizationForm_D).at(0);
    return first.isLetter() ? QString(first.toUpper()) : QStringLiteral("#");
}

} // namespace

void Printout::book(QPagedPaintDevice& device, const QString& title, const QList<Contact>& entries)
{
    Pages pages(device,
                QStringLiteral("%1 - %2").arg(title, QLocale().toString(QDate::currentDate(), QLocale::LongFormat)));
    const int body = pages.lineHeight(Pages::bodyFont());
    const int heading = pages.lineHeight(Pages::headingFont());
    const int nameWidth = pages.width() * 2 / 5;
    const int gap = body / 2;
    const QFont small = Pages::footFont();
    // Both books: each starts a part of its own under its name.
    const bool bothBooks = !entries.isEmpty() && std::any_of(entries.cbegin(), entries.cend(), [&](const Contact& c) {
        return c.category != entries.first().category;
    });
    QString initial;
    QString category;
    for (const Contact& entry : entries) {
        if (bothBooks && entry.category != category) {
            const int top = pages.place(heading * 2 + heading + body);
            pages.text(QRect(0, top, pages.width(), heading * 2), entry.category, Pages::titleFont());
            pages.skip(-(heading + body));
            initial.clear();
        }
        category = entry.category;
        if (initialOf(entry) != initial) {
            initial = initialOf(entry);
            // A heading never stands alone at the foot of a page.
            const int top = pages.place(heading + body);
            pages.text(QRect(0, top, pages.width(), heading), initial, Pages::headingFont());
            pages.skip(-body);
        }
        // The name with the address under it on the left, the numbers on the right; each wraps rather than lose a
        // character, and the entry stays on one page.
        const int nameBox = nameWidth - body;
        const int numberBox = pages.width() - nameWidth;
        const QString name = nameOf(entry);
        const QString address = addressOf(entry);
        const QStringList numbers = pages.fill(numberBox, numbersOf(entry), Pages::bodyFont());
        const int nameHeight = std::max(body, pages.wrappedHeight(nameBox, name, Pages::bodyFont()));
        const int addressHeight = pages.wrappedHeight(nameBox, address, small);
        const int top = pages.place(std::max(nameHeight + addressHeight, int(numbers.size()) * body) + gap);
        pages.wrappedText(QRect(0, top, nameBox, nameHeight), name, Pages::bodyFont());
        pages.wrappedText(QRect(0, top + nameHeight, nameBox, addressHeight), address, small);
        for (int line = 0; line < numbers.size(); ++line)
            pages.text(QRect(nameWidth, top + line * body, numberBox, body), numbers.at(line), Pages::bodyFont());
    }
    if (entries.isEmpty())
        pages.text(QRect(0, pages.place(body), pages.width(), body),
                   QCoreApplication::translate("Printout", "No entries."), Pages::bodyFont());
    pages.finish();
}

void Printout::messages(QPagedPaintDevice& device, const QList<ContactExport::Message>& messages)
{
    Pages pages(device, QCoreApplication::translate("Printout", "Messages - %1")
                            .arg(QLocale().toString(QDate::currentDate(), QLocale::LongFormat)));
    const QFont bodyFont = Pages::bodyFont();
    const int body = pages.lineHeight(bodyFont);
    for (const ContactExport::Message& m : messages) {
        const QString head = QCoreApplication::translate("Printout", "%1  %2    From: %3    To: %4")
                                 .arg(DateRules::shortDate(m.date, QLocale()), DateRules::shortTime(m.time, QLocale()),
                                      Bidi::isolated(m.from), Bidi::isolated(m.to));
        // The text wraps within the page; its height decides whether the message fits on this page.
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        option.setTextDirection(m.text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        option.setAlignment(m.text.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft);
        pages.painter().setFont(bodyFont);
        const QRect textBox =
            pages.painter().boundingRect(QRectF(body, 0, pages.width() - body, 1 << 20), m.text, option).toRect();
        const int top = pages.place(body + textBox.height() + body / 2);
        QFont headFont = bodyFont;
        headFont.setBold(true);
        pages.text(QRect(0, top, pages.width(), body), head, headFont);
        pages.painter().setFont(bodyFont);
        pages.painter().drawText(QRectF(body, top + body, pages.width() - body, textBox.height()), m.text, option);
    }
    if (messages.isEmpty())
        pages.text(QRect(0, pages.place(body), pages.width(), body),
                   QCoreApplication::translate("Printout", "No messages."), bodyFont);
    pages.finish();
}

void Printout::print(Printer& printer, const QString& database, const std::function<void(QPagedPaintDevice&)>& paint)
{
    const QString path = printer.outputFileName();
    // Paper, or the pages of a print preview (drawn by Qt's preview engine, whatever file the printer names).
    if (path.isEmpty() || printer.drawsPreview()) {
        paint(printer.device());
        return;
    }
    TargetFile target(path, database);
    printer.setOutputFileName(target.temporaryPath());
    try {
        paint(printer.device());
    } catch (...) {
        printer.setOutputFileName(path);
        throw;
    }
    printer.setOutputFileName(path);
    target.commit(printer.writesPdf() ? QByteArray("%%EOF") : QByteArray());
}
