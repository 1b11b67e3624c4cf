#include "Encodings.h"

#include <QStringDecoder>
#include <unicode/ucnv.h>

QStringList Encodings::offered()
{
    return {QStringLiteral("UTF-8"),        QStringLiteral("windows-1255"), QStringLiteral("windows-1252"),
            QStringLiteral("windows-1250"), QStringLiteral("ISO-8859-8"),   QStringLiteral("Shift_JIS"),
            QStringLiteral("UTF-16")};
}

bool Encodings::isUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text)
    return !decoder.hasError();
}

std::optional<QString> Encodings::decode(const QByteArray& bytes, const QString& encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(encoding.toLatin1().constData(), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    QString text(bytes.size() * 2 + 2, Qt::Uninitialized);
    status = U_ZERO_ERROR;
    int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), int32_t(text.size()),
                                   bytes.constData(), int32_t(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}
