#pragma once

#include <QByteArray>
#include <QString>

// Alphabetical order as a reader of the user's language expects it, from ICU's collator for the user's locale:
// letter case ignored, accented letters beside their base letter. A key is a byte string whose plain byte order
// (memcmp, SQLite's BINARY) is that order, so the file can keep it under an ordinary index that every SQLite tool
// reads the same way.
namespace SortKey {

// The key of a text (null and the empty text give the same, smallest key).
QByteArray of(const QString& text);
QByteArray of(const char16_t* text, int length);

// The keys of every text that begins with `prefix` (letter case ignored, as the keys ignore it) lie between `low`
// and `high`, both included: ICU gives U+FFFF a weight above every character's for such ranges. False when the
// collator makes a contraction of the prefix with a following letter (Czech "ch" sorts after "h", Danish "aa"
// as "å"): the texts that begin with the prefix are then not one range of keys.
bool prefixRange(const QString& prefix, QByteArray* low, QByteArray* high);

// Names the collator the keys come from: locale, strength and ICU's version of its rules. Keys made under another
// name are not comparable with the ones made now.
QString collatorName();

// Tests and tools order under a given locale ("en_GB", "he_IL"; "" for the user's); keys made before are stale.
void setLocaleForTesting(const QString& locale);

} // namespace SortKey
