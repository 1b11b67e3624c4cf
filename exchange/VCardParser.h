#pragma once

#include "exchange/ProblemList.h"
#include "exchange/VCardLine.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The syntax of vCard files (2.1, 3.0 and 4.0) as address books and phones really write them: bytes to cards of
// decoded lines, without any idea of what the properties mean.
//
// Lines end in CR LF, LF, CR or CR CR LF. A line that starts with a space or a tab continues the one before; the
// joining is done on bytes, before any decoding, so a fold may fall inside a UTF-8 character or a parameter list.
// Quoted-printable values continue over lines that end in "=". Values encoded as BASE64 (and PHOTO, LOGO, SOUND,
// KEY) are skipped, undecoded, with their continuation lines, also unindented 2.1 ones.
//
// Text is decoded with the CHARSET its line names; text that names none is UTF-8 when it is valid UTF-8, and is
// otherwise decoded with the fallback encoding (any name Encodings::decode knows), which sets fallbackUsed. A UTF-8
// BOM (also one before a later card of files joined together) is dropped, and a UTF-16 file is read as such. What
// cannot be decoded (a byte sequence the encoding has no character for, half a UTF-16 surrogate pair) and a NUL
// byte become U+FFFD, the replacement character, which the mapping to entries reports wherever it is kept.
//
// Damage never stops the reading and every piece left out is reported: a card without END ends where the next
// BEGIN:VCARD starts (or at the end of the file), lines that are not properties are left out (a run of them as one
// problem), and so is text outside any card. Time is linear in the size of the file; memory beyond the file's bytes
// is that of one line at a time, whatever the number of cards and lines (see Sink).
class VCardParser
{
public:
    struct Card
    {
        int number = 0;         // 1-based position among the cards of the file; problems name cards by it
        QString version;        // "2.1", "3.0", "4.0"; empty when the card has no VERSION
        QList<VCardLine> lines; // every property except BEGIN, END and VERSION, in file order
    };

    // Takes the cards as they are read, one line at a time, so nothing of a card need be kept but what its reader
    // makes of it.
    class Sink
    {
    public:
        virtual ~Sink() = default;
        // Whether the text of properties of this name (upper case) is wanted; the others come without value and
        // components, their text neither decoded nor kept.
        virtual bool wants(const QString& name) const = 0;
        // A property of the open card (its `lines` stay empty), in file order.
        virtual void line(const Card& card, const VCardLine& line) = 0;
        // The card is closed: every line and every problem of its syntax came before.
        virtual void cardEnded(const Card& card) = 0;
    };

    struct Result
    {
        QList<Card> cards;
        ProblemList problems;
        bool fallbackUsed = false; // some text named no CHARSET and was not UTF-8
    };

    // Every card with all its lines (small files, tests).
    static Result parse(const QByteArray& bytes, const QString& fallbackEncoding);
    // The cards to `sink` as they are read; the problems of syntax and decoding to `problems`. Returns whether
    // some text named no CHARSET and was not UTF-8 (read in the fallback encoding).
    static bool parse(const QByteArray& bytes, const QString& fallbackEncoding, Sink& sink, ProblemList& problems);
};
