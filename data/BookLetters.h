#pragma once

#include <QString>
#include <QStringList>

class Book;
class Database;

// The letters a book's names are filed under, for the directory's letter strip: "A" to "Z" for names in Latin
// letters, alef to tav for Hebrew names (a Hebrew letter's final form files under the letter itself).
namespace BookLetters {

enum class Alphabet { Latin, Hebrew };

// The strip's letters of an alphabet, in its order: 26 Latin or 22 Hebrew.
QStringList letters(Alphabet alphabet);

// Hebrew when more of the book's sort names begin with a Hebrew letter than with a Latin one. The first 2,000
// names entered are read: enough to tell, and quick on a book of any size. Throws DbError.
Alphabet of(Database& database, const Book& book);

// What a name filed under `letter` may begin with: the letter, and after it a Hebrew letter's final form.
QString forms(const QString& letter);

} // namespace BookLetters
