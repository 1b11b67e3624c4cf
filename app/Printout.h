#pragma once

#include "app/Printer.h"
#include "exchange/ContactExport.h"

#include <functional>

class QPagedPaintDevice;

// Paper output: a book as a phone list a person would pin to a wall, and the message log. The same pages go to a
// printer and, through the printer's PDF output, to a file.
namespace Printout {

// Each throws DbError when the device cannot start or finish the pages.
// `title`: the book's name as the window shows it ("Personal", "Business", or both). Entries in book order; a
// heading for each book when both are printed and for each initial letter; an entry's name with its address under
// it, and every number that is filled, whole (a line too short wraps between two numbers); margins of at least
// 10 mm; page numbers.
void book(QPagedPaintDevice& device, const QString& title, const QList<Contact>& entries);

// Newest first, as the log lists them: date, time, from, to and the text.
void messages(QPagedPaintDevice& device, const QList<ContactExport::Message>& messages);

// Runs `paint` on `printer`: on paper as the printer takes it or, where the printer writes a file (a PDF, "print to
// file"), into that file as every export is written (see TargetFile): whole, or not at all, and never over the
// directory file `database`. Throws DbError naming the file and the reason.
void print(Printer& printer, const QString& database, const std::function<void(QPagedPaintDevice&)>& paint);

} // namespace Printout
