#pragma once

#include "ReadResult.h"
#include "VCardParser.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// What vCards mean as directory entries.
//
// A card with an organisation (the first component of ORG; for a 4.0 KIND:org card without ORG, its FN) is a
// "Business" entry with that BusName, any other a "Personal" one with BusName " ", as the entry window stores it.
// N gives the names (given and additional names to Fname, family name to Lname); when N holds none, FN does, its
// last word the Lname, unless FN merely repeats the organisation. The first ADR that holds anything gives the
// address, city, state and zip. Numbers keep the text the card wrote (a tel: URI loses its scheme): CELL to Pel,
// FAX to Fax, any other to Tel1, then Tel2. Whatever has a column but no room left in it (a third number, a second
// cellular number, a second address) is reported "left out", and so are cards without name and number. Properties
// the entry has no column for (EMAIL, NOTE, PHOTO, ...) are passed over.
class VCardReader
{
public:
    // Takes each entry as its card ends, with the card's number (problems name cards by it).
    using Take = std::function<void(Contact&& entry, int card)>;

    // Both stages, a card at a time: memory holds one card's entry besides what `take` keeps, however many lines a
    // card has. The problems go to `problems`, ordered by card. Returns whether text without a CHARSET was not
    // UTF-8 and was read in `fallbackEncoding`, so the caller can let the user choose another and read again.
    static bool read(const QByteArray& bytes, const QString& fallbackEncoding, const Take& take, ProblemList& problems);
    // The same with the entries kept in a list.
    static ReadResult read(const QByteArray& bytes, const QString& fallbackEncoding, bool* fallbackUsed = nullptr);

    // The meaning stage alone: the parser's problems and those of the mapping, ordered by card.
    static ReadResult contacts(const VCardParser::Result& parsed);

    // One card; nothing when the card holds neither a name nor a number. Problems go to `problems`.
    static std::optional<Contact> contact(const VCardParser::Card& card, ProblemList& problems);
};
