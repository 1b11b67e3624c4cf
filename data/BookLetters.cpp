#include "data/BookLetters.h"

#include "data/Book.h"
#include "data/Database.h"
#include "data/Statement.h"

namespace {

constexpr char16_t kAlef = 0x05D0;
constexpr char16_t kTav = 0x05EA;

// Kaf, mem, nun, pe and tsadi have a final form, coded just before the letter.
bool isFinalForm(char16_t c)
{
    return c == 0x05DA || c == 0x05DD || c == 0x05DF || c == 0x05E3 || c == 0x05E5;
}

} // namespace

namespace BookLetters {

QStringList letters(Alphabet alphabet)
{
    QStringList result;
    if (alphabet == Alphabet::Hebrew) {
        for (char16_t c = kAlef; c <= kTav; ++c)
            if (!isFinalForm(c))
                result << QString(QChar(c));
    } else {
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            result << QString(QChar(c));
    }
    return result;
}

Alphabet of(Database& database, const Book& book)
{
    // The sort column comes from the book itself, never from typing.
    Statement first(database.handle(), QStringLiteral("SELECT unicode(ltrim(%1)) FROM tblTel WHERE Category = ?1 "
                                                      "ORDER BY rowid LIMIT 2000")
                                           .arg(book.sortColumn()));
    first.bind(1, book.name());
    int hebrew = 0;
    int latin = 0;
    while (first.step()) {
        const qint64 code = first.int64(0);
        if (code >= kAlef && code <= kTav)
            ++hebrew;
        else if (code > 0 && code <= 0xFFFF && QChar(char16_t(code)).script() == QChar::Script_Latin)
            ++latin;
    }
    return hebrew > latin ? Alphabet::Hebrew : Alphabet::Latin;
}

QString forms(const QString& letter)
{
    if (letter.size() == 1 && letter.at(0).unicode() > kAlef && isFinalForm(char16_t(letter.at(0).unicode() - 1)))
        return letter + QChar(char16_t(letter.at(0).unicode() - 1));
    return letter;
}

} // namespace BookLetters
