#include "data/SortKey.h"

#include <QLocale>
#include <QStringList>
#include <memory>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/uset.h>
#include <vector>

namespace {

struct CollatorClose
{
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

QString s_localeOverride;
std::unique_ptr<UCollator, CollatorClose> s_collator;
QString s_name;
bool s_contractionsRead = false;
QStringList s_contractions; // of the collator, folded

QByteArray localeName()
{
    const QString name = s_localeOverride.isEmpty() ? QLocale().name() : s_localeOverride;
    // Qt calls the POSIX locale "C"; ICU's neutral order is its root.
    return name == QLatin1String("C") ? QByteArray("root") : name.toLatin1();
}

UCollator* collator()
{
    if (s_collator)
        return s_collator.get();
    const QByteArray locale = localeName();
    UErrorCode status = U_ZERO_ERROR;
    UCollator* opened = ucol_open(locale.constData(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        opened = ucol_open("root", &status);
    }
    // Secondary strength: accents count after the base letters, letter case does not count at all.
    ucol_setStrength(opened, UCOL_SECONDARY);
    s_collator.reset(opened);

    UVersionInfo version;
    ucol_getVersion(opened, version);
    char versionText[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, versionText);
    status = U_ZERO_ERROR;
    const char* actual = ucol_getLocaleByType(opened, ULOC_ACTUAL_LOCALE, &status);
    s_name = QStringLiteral("%1 (%2) secondary, ICU collation %3")
                 .arg(QString::fromLatin1(locale), QString::fromLatin1(U_SUCCESS(status) && actual ? actual : "root"),
                      QString::fromLatin1(versionText));
    return opened;
}

} // namespace

QByteArray SortKey::of(const char16_t* text, int length)
{
    UCollator* c = collator();
    const auto* source = reinterpret_cast<const UChar*>(text);
    uint8_t small[256];
    int32_t size = ucol_getSortKey(c, source, length, small, sizeof small);
    QByteArray key;
    if (size <= int32_t(sizeof small)) {
        key = QByteArray(reinterpret_cast<const char*>(small), size);
    } else {
        key.resize(size);
        size = ucol_getSortKey(c, source, length, reinterpret_cast<uint8_t*>(key.data()), size);
        key.resize(size);
    }
    // ICU ends every key with a zero byte that no key holds elsewhere; it adds nothing to the order.
    if (key.endsWith('\0'))
        key.chop(1);
    return key;
}

QByteArray SortKey::of(const QString& text)
{
    return of(reinterpret_cast<const char16_t*>(text.utf16()), int(text.size()));
}

bool SortKey::prefixRange(const QString& prefix, QByteArray* low, QByteArray* high)
{
    UCollator* c = collator();
    if (!s_contractionsRead) {
        // The collator's contractions of several characters, folded, read once: a letter's list asks at every click.
        s_contractionsRead = true;
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<USet, void (*)(USet*)> contractions(uset_openEmpty(), uset_close);
        ucol_getContractionsAndExpansions(c, contractions.get(), nullptr, false, &status);
        std::vector<UChar> item(64);
        for (int32_t i = 0; U_SUCCESS(status) && i < uset_getItemCount(contractions.get()); ++i) {
            UChar32 start = 0;
            UChar32 end = 0;
            UErrorCode itemStatus = U_ZERO_ERROR;
            const int32_t length =
                uset_getItem(contractions.get(), i, &start, &end, item.data(), int32_t(item.size()), &itemStatus);
            // A range of single characters is no contraction; a string too long for the buffer is none of a letter.
            if (U_SUCCESS(itemStatus) && length > 1) {
                const auto* text = reinterpret_cast<const char16_t*>(item.data());
                s_contractions << QString::fromUtf16(text, length).toCaseFolded();
            }
        }
        if (U_FAILURE(status))
            s_contractions << QString(); // unknown: every prefix is taken as joined
    }
    const QString folded = prefix.toCaseFolded();
    for (const QString& contraction : std::as_const(s_contractions)) {
        if (contraction.size() > folded.size() ? contraction.startsWith(folded) : contraction.isEmpty())
            return false;
    }
    *low = of(prefix);
    *high = of(prefix + QChar(0xFFFF));
    return true;
}

QString SortKey::collatorName()
{
    collator();
    return s_name;
}

void SortKey::setLocaleForTesting(const QString& locale)
{
    s_localeOverride = locale;
    s_collator.reset();
    s_contractionsRead = false;
    s_contractions.clear();
}
