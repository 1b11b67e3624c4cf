#pragma once

#include "data/Contact.h"

#include <QByteArray>

// Writes the directory and the message log as CSV for spreadsheets and other address books: UTF-8 with a BOM (so
// spreadsheet programs do not take Hebrew for Latin-1), comma-separated, "\r\n" between rows, a field quoted when
// it holds a comma, a quote, a line break or spaces at either end.
namespace CsvWriter {

// One row of tblMes in the forms the file stores: date "yyyy-mm-dd" and time "hh:mm:ss" (empty when the row has
// none), from whom (Meet), for whom (Avur), and the message (Hodaa).
struct MessageRow
{
    QString date;
    QString time;
    QString from;
    QString to;
    QString text;
};

// The header of the contacts file; CsvReader maps each name back to its field.
QStringList contactHeader();

// The header layouts: the program's own, and those the big web mail services import.
enum class Layout { Own, Google, Outlook };

// Contacts as stored, in the forms other programs read: a telephone number as text a spreadsheet keeps whole
// ("050-1234567", never a bare number that loses its leading zero), a zip as its digits (nothing for an untyped
// mask), no company for a personal entry. Read back and fitted, the file gives the same entries.
QByteArray contacts(const QList<Contact>& contacts, Layout layout = Layout::Own);

// The log under the header Date, Time, From, To, Message; date and time as stored, which is ISO form.
QByteArray messages(const QList<MessageRow>& rows);

// One row of fields as the writer quotes them, without the line end.
QString row(const QStringList& fields);

} // namespace CsvWriter
