#pragma once

#include "exchange/ReadResult.h"
#include "exchange/VCardParser.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// What vCards mean as directory entries.
//
// A card goes to the book its CATEGORIES name ("Personal" or "Business", as this program writes them); without one,
// a card with an organisation (the first component of ORG; for a 4.0 KIND:org card without ORG, its FN) is a
// "Business" entry with that BusName, any other a "Personal" one.
// Each card becomes a FullContact: N's parts, FN, the first component of ORG, every ADR and TEL with its HOME or
// WORK type (CELL, FAX and PAGER say what a number is). Numbers keep the text the card wrote (a tel: URI loses its
// scheme). ContactChoice chooses the entry from it, as for every format. Properties the entry has no column for
// (EMAIL, NOTE, PHOTO, ...) are counted by kind for the summary. A partly typed number or zip the sync wrote
// comes back in its stored form (see StoredForms).
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

    // A TEL line's number as the card wrote it; of a tel: URI (4.0) the number and its extension, which is what a
    // person types.
    static QString numberText(const VCardLine& line);

    // The entry of one card already parsed; nothing when it holds neither a name nor a number. Problems go to
    // `problems`. `book`, when given, is the book of the entry whatever the card names.
    static std::optional<Contact> contact(const VCardParser::Card& card, ProblemList& problems,
                                          const QString& book = QString());
};
