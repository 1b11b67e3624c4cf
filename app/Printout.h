#pragma once

#include "ContactExport.h"

class QPagedPaintDevice;

// Paper output: a book as a phone list a person would pin to a wall, and the message log. The same pages go to a
// printer and, through QPrinter's PDF output, to a file.
namespace Printout {

// `title`: the book's name as the window shows it ("Personal", "Business", or both). Entries in book order; a
// heading for each initial letter; one line an entry with its name and the numbers that are filled; page numbers.
void book(QPagedPaintDevice& device, const QString& title, const QList<Contact>& entries);

// Newest first, as the log lists them: date, time, from, to and the text.
void messages(QPagedPaintDevice& device, const QList<ContactExport::Message>& messages);

} // namespace Printout
