#pragma once

#include "data/Contact.h"
#include "exchange/PhoneNumbers.h"
#include "exchange/ProblemList.h"

// Brings a contact as a reader found it to the values the entry window would have stored for it, so that an
// imported entry is indistinguishable from a typed one: the masks' texts for telephone numbers and zip (untyped
// boxes included), " " as the company of a personal entry, every text within its column's width. A value holding
// U+FFFD, which readers put in place of what they could not read, is reported as such.
namespace ContactFit {

struct Result
{
    Contact contact;                 // the stored forms
    QList<ExchangeProblem> problems; // one for each value that is not stored as it was read, saying what is done
    bool empty = false;              // nothing at all to store; the entry is left out (and a problem says so)
};

// `record` numbers the problems (see ExchangeProblem); `region` is where the telephone numbers are dialled.
Result fit(const Contact& raw, int record, const QString& region = PhoneNumbers::defaultRegion());

// The longest start of `text` that holds at most `width` characters as the file counts them (code points), cut
// between two characters the reader sees, never inside one made of several code points.
QString cut(const QString& text, int width);

} // namespace ContactFit
