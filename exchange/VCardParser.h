#pragma once

#include "Contact.h"
#include "VCardLine.h"

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
// BOM (also one before a later card of files joined together) is dropped, and a UTF-16 file is read as such.
//
// Damage never stops the reading and every piece left out is reported: a card without END ends where the next
// BEGIN:VCARD starts (or at the end of the file), lines that are not properties are left out (a run of them as one
// problem), and so is text outside any card. Time and memory are linear in the size of the file.
class VCardParser
{
public:
    struct Card
    {
        int number = 0;         // 1-based position among the cards of the file; problems name cards by it
        QString version;        // "2.1", "3.0", "4.0"; empty when the card has no VERSION
        QList<VCardLine> lines; // every property except BEGIN, END and VERSION, in file order
    };

    struct Result
    {
        QList<Card> cards;
        QList<ExchangeProblem> problems;
        bool fallbackUsed = false; // some text named no CHARSET and was not UTF-8
    };

    static Result parse(const QByteArray& bytes, const QString& fallbackEncoding);
};
