#pragma once

#include <QString>

// The entry window keeps a telephone number or a zip in its mask, partly typed ones too ("048 - 12_____",
// "6100_"), and a card can say no more than the digits. A card the sync sends therefore carries a partly typed
// value twice: its digits in the card's own property (TEL, ADR), which every phone shows and dials, and the stored
// form in a property of this program's own (X-TOVRIN-TEL1, ... X-TOVRIN-ZIP). The reader believes the stored form
// only while its digits are those of the card's own value, so an edit made elsewhere always wins.
namespace StoredForms {

// The property that carries the stored form of a column ("Tel1", "Tel2", "Pel", "Fax", "Zip"): "X-TOVRIN-TEL1".
QString property(const QString& column);
// The column whose stored form a property carries; empty for any other property.
QString columnOf(const QString& property);

// Whether `stored` is a form of the entry window's masks (a number or a zip) with some digits typed.
bool isMasked(const QString& stored);
// The same for a telephone number's mask alone ("035 - 551234_").
bool isMaskedNumber(const QString& stored);
// Whether a card must carry `stored` beside its digits: a mask partly typed, which its digits alone do not give back.
bool needed(const QString& stored);
// Whether `stored` is the form of `cardValue` (a TEL's number or an ADR's zip as the card writes it): a mask with
// the very digits of that value.
bool agrees(const QString& stored, const QString& cardValue);

} // namespace StoredForms
