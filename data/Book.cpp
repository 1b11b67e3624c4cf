#include "data/Book.h"

const std::array<const Book*, 2>& Book::all()
{
    static const std::array<const Book*, 2> books{&Business, &Personal};
    return books;
}

const Book* Book::named(QStringView name)
{
    for (const Book* book : all()) {
        if (name == QLatin1String(book->m_name))
            return book;
    }
    return nullptr;
}
