#pragma once

#include <QString>
#include <QStringView>
#include <array>

// One of the directory's two books: the name stored in tblTel.Category and listed by the book selectors, and the
// column the book is sorted and filtered by. There are exactly two, Book::Personal and Book::Business; a book is
// passed by reference and compared by address.
class Book
{
public:
    static const Book Personal;
    static const Book Business;

    // Both books, in the order the book selectors list them.
    static const std::array<const Book*, 2>& all();
    // The book of exactly that name (letter case counts, as the windows compare it); null for any other text.
    static const Book* named(QStringView name);

    QString name() const { return QLatin1String(m_name); }
    QString sortColumn() const { return QLatin1String(m_sortColumn); }

    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

private:
    constexpr Book(const char* name, const char* sortColumn) : m_name(name), m_sortColumn(sortColumn) {}

    const char* m_name;
    const char* m_sortColumn;
};

inline const Book Book::Personal{"Personal", "Lname"};
inline const Book Book::Business{"Business", "BusName"};
