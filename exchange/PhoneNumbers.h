#pragma once

#include <QString>

// Telephone numbers between what other programs write and the form the entry window stores: "### - #######",
// three digits, " - ", seven digits, as the telephone mask shows them.
namespace PhoneNumbers {

// The stored form of "no number": the telephone mask with nothing typed.
QString untypedMask();

// The ISO 3166 code of the country numbers are dialled in: the one chosen for this run (setRegion), else the one
// the user chose before (saved in the user's settings), else the territory of the default locale; "ZZ" when none
// names one (C.UTF-8).
QString defaultRegion();
// The territory of the default locale; "ZZ" when it names none.
QString localeRegion();
// Chooses the country numbers are dialled in for this run and, with `remember`, for the next ones too. An empty
// code goes back to the locale's (and, remembered, forgets the choice). False, and nothing changes, for a code of no
// country telephone numbers are known for.
bool setRegion(const QString& code, bool remember);
// The countries telephone numbers are known for, by code ("US", "IL", ...), sorted.
QStringList knownRegions();

// True for a text that holds no number: empty, or nothing but the mask's blanks and literals ("___ - _______").
bool isBlank(const QString& text);

struct Fitted
{
    QString stored;   // the stored form; the untyped mask for no number and for a number that does not fit
    bool fits = true; // false: the number cannot be stored (see `reason`)
    QString reason;   // why it does not fit, or what of a fitting number had to go ("extension 12"); else empty
};

// `text` in the stored form. Ten digits (and nothing but separators beside them) are taken digit for digit, the
// leading zero included. Anything else (an international number, letters, an extension) is read as a number
// dialled in `region`, and fits when its national form with the trunk prefix makes ten digits, or fewer for a valid
// number of the region (stored as typed into the mask: "035 - 551234_"); a number of another country does not
// fit, since dialled as ten digits it would reach someone else.
Fitted toStored(const QString& text, const QString& region = defaultRegion());

// The digits of a stored or partly typed number ("050 - 12_____" gives "05012"), as exports write it.
QString digits(const QString& text);

// The number as a global tel: URI ("tel:+972-50-123-4567"), when read in `region` it is a valid number of that
// region whose national form has exactly the digits given; else empty (a local number has no valid URI without a
// context this program does not know).
QString telUri(const QString& digits, const QString& region = defaultRegion());

} // namespace PhoneNumbers
