#pragma once

#include "data/Contact.h"

#include <QString>
#include <optional>

// What leaves the directory: the entries of a book in the order its grid shows them, and the message log newest
// first, read through the data layer as the windows read them.
namespace ContactExport {

enum class Book { Personal, Business, Both };

// The book named "personal", "business" or "both" (letter case ignored); nothing for any other name.
std::optional<Book> bookNamed(const QString& name);

// The entries of the book, in its order; both books: "Personal" first. Throws DbError.
QList<Contact> entries(const QString& databasePath, Book book);

struct Message
{
    QString date; // as stored: yyyy-mm-dd
    QString time; // hh:mm:ss
    QString from;
    QString to;
    QString text;
};

// The message log, newest date first, as its grid lists it. Throws DbError.
QList<Message> messages(const QString& databasePath);

} // namespace ContactExport
