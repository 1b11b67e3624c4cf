#include "sync/SyncSetup.h"

#include "data/Book.h"
#include "sync/SyncSettings.h"

namespace {

SyncSetup::Pick pickFor(const QList<Discovery::AddressBook>& books, const QString& given, const Book& book)
{
    SyncSetup::Pick pick;
    const Discovery::AddressBook* found = SyncSetup::named(books, given.isEmpty() ? book.name() : given);
    if (found)
        pick.found = int(found - books.data());
    else if (!given.isEmpty() || books.isEmpty())
        pick.create = given.isEmpty() ? book.name() : given;
    return pick;
}

} // namespace

const Discovery::AddressBook* SyncSetup::named(const QList<Discovery::AddressBook>& books, const QString& name)
{
    for (const Discovery::AddressBook& book : books) {
        // Servers show names of their own (Radicale shows "alice/personal" where none was set), and an address
        // book made here ends its path in its name (see Discovery::create).
        const QStringList parts = book.url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
        const QString last = parts.isEmpty() ? QString() : parts.last();
        if (book.name.compare(name, Qt::CaseInsensitive) == 0 || last.compare(name, Qt::CaseInsensitive) == 0 ||
            book.url.toString() == name)
            return &book;
    }
    return nullptr;
}

SyncSetup::Choice SyncSetup::choose(const Discovery::Result& found, const QString& personalName,
                                    const QString& businessName)
{
    Choice choice;
    if (found.given || (found.books.size() == 1 && personalName.isEmpty() && businessName.isEmpty() &&
                        !named(found.books, Book::Personal.name()) && !named(found.books, Book::Business.name()))) {
        choice.personal.found = choice.business.found = 0;
        return choice;
    }
    choice.personal = pickFor(found.books, personalName, Book::Personal);
    choice.business = pickFor(found.books, businessName, Book::Business);
    return choice;
}

SyncSetup::Pick SyncSetup::chooseTaskList(const QList<Discovery::AddressBook>& lists, const QString& name)
{
    const QString wanted = name.isEmpty() ? QStringLiteral("Messages") : name;
    Pick pick;
    if (const Discovery::AddressBook* found = named(lists, wanted))
        pick.found = int(found - lists.data());
    else
        pick.create = wanted;
    return pick;
}

Credentials::Kept SyncSetup::keep(Database& db, const SyncSettings& settings, const QString& password)
{
    settings.write(db);
    return Credentials::store(settings.account(), password);
}
