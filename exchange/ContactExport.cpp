#include "exchange/ContactExport.h"

#include "data/Book.h"
#include "data/Columns.h"
#include "data/DataControl.h"
#include "data/Query.h"

std::optional<ContactExport::Book> ContactExport::bookNamed(const QString& name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("personal"))
        return Book::Personal;
    if (n == QLatin1String("business"))
        return Book::Business;
    if (n == QLatin1String("both"))
        return Book::Both;
    return std::nullopt;
}

QList<Contact> ContactExport::entries(const QString& databasePath, Book book)
{
    DataControl directory;
    directory.setDatabaseName(databasePath);
    QList<Contact> result;
    // Asked as the directory window asks for its books, so the order is the grid's.
    const auto read = [&](const ::Book& shown) {
        directory.setRecordSource(Query::book(shown));
        directory.Refresh();
        for (Recordset* rs = directory.Recordset(); !rs->Eof(); rs->MoveNext()) {
            Contact& contact = result.emplace_back();
            for (const Columns::Column& column : Columns::kAll)
                contact.*column.field = rs->Fields(column.columnName()).Value().toString();
        }
    };
    if (book != Book::Business)
        read(::Book::Personal);
    if (book != Book::Personal)
        read(::Book::Business);
    return result;
}

QList<ContactExport::Message> ContactExport::messages(const QString& databasePath)
{
    DataControl log;
    log.setDatabaseName(databasePath);
    log.setRecordSource(Query::log());
    log.Refresh();
    QList<Message> result;
    for (Recordset* rs = log.Recordset(); !rs->Eof(); rs->MoveNext()) {
        const auto field = [rs](const char* column) { return rs->Fields(QLatin1String(column)).Value().toString(); };
        result.append({field("Cdate"), field("Ctime"), field("Meet"), field("Avur"), field("Hodaa")});
    }
    return result;
}
