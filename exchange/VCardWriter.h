#pragma once

#include "data/Contact.h"

#include <QByteArray>
#include <QList>

// Directory entries as vCards, the inverse of VCardReader: what this writes reads back as the same entries, numbers
// as their digits.
//
// Each entry gives N (Lname, Fname), FN (always; the person's name, else the BusName), ORG for a "Business" entry,
// its book as CATEGORIES (3.0 and 4.0), ADR and TEL lines (Tel1 and Tel2 as VOICE, Pel as CELL, Fax as FAX; HOME for a
// personal entry, WORK for a business one). Empty values are left out. A masked number is written as its digits ("050 -
// 1234567" as "0501234567", the partly typed "050 - 12_____" as "05012"), and not at all while it has none; any other
// number text as it is. Lines end in CR LF.
//
// 3.0 and 4.0 are UTF-8, folded at 75 octets, never inside a character. 2.1, for old phones, has no folding and no
// escaped line breaks: a value that is not plain printable ASCII or that would make a line longer than 75 octets is
// QUOTED-PRINTABLE, with CHARSET=UTF-8 when it is not ASCII, over soft line breaks.
class VCardWriter
{
public:
    enum class Version { V21, V30, V40 };

    static QByteArray write(const QList<Contact>& contacts, Version version = Version::V30);
};
