#include "exchange/Encodings.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

namespace {

// Whatever the converter cannot read becomes U+FFFD, which readers report, never a control character such as the
// SUB (U+001A) some single-byte converters put in its place.
void replace(const void*, UConverterToUnicodeArgs* args, const char*, int32_t, UConverterCallbackReason reason,
             UErrorCode* status)
{
    if (reason > UCNV_IRREGULAR)
        return; // reset, close, clone: nothing to write
    *status = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

} // namespace

QStringList Encodings::offered()
{
    return {QStringLiteral("UTF-8"),        QStringLiteral("windows-1255"), QStringLiteral("windows-1252"),
            QStringLiteral("windows-1250"), QStringLiteral("ISO-8859-8"),   QStringLiteral("Shift_JIS"),
            QStringLiteral("UTF-16")};
}

QString Encodings::defaultFor(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::Hebrew:
        return QStringLiteral("windows-1255");
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Slovenian:
    case QLocale::Croatian:
    case QLocale::Bosnian:
    case QLocale::Romanian:
    case QLocale::Albanian:
        return QStringLiteral("windows-1250");
    default:
        return QStringLiteral("windows-1252");
    }
}

bool Encodings::isUtf8(const QByteArray& bytes)
{
    return QByteArrayView(bytes).isValidUtf8();
}

std::optional<QString> Encodings::decode(const QByteArray& bytes, const QString& encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(encoding.toLatin1().constData(), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    ucnv_setToUCallBack(converter, replace, nullptr, nullptr, nullptr, &status);
    // No converter makes more UTF-16 units than bytes but for rare fallbacks, which the second try has room for;
    // the text takes no more memory than it needs.
    const qsizetype units = ucnv_getMinCharSize(converter) >= 2 ? bytes.size() / 2 + 1 : bytes.size() + 1;
    QString text(units, Qt::Uninitialized);
    int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), int32_t(text.size()),
                                   bytes.constData(), int32_t(bytes.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        ucnv_resetToUnicode(converter);
        text = QString(qsizetype(length) + 1, Qt::Uninitialized);
        length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), int32_t(text.size()),
                               bytes.constData(), int32_t(bytes.size()), &status);
    }
    ucnv_close(converter);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

void Encodings::replaceUnreadable(QString& text)
{
    const qsizetype size = text.size();
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = chars[i];
        const bool pair = c.isHighSurrogate() && i + 1 < size && chars[i + 1].isLowSurrogate();
        if (pair) {
            ++i;
            continue;
        }
        if (c.unicode() == 0 || c.isSurrogate()) {
            text[i] = QChar::ReplacementCharacter; // detaches at most once
            chars = text.constData();
        }
    }
}
