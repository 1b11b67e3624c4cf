#include "Fonts.h"

#include <QFontDatabase>

void Fonts::install()
{
    const struct
    {
        const char* face;
        const char* stand_in;
    } substitutes[] = {
        {"David", "David CLM"},
        {"Times New Roman", "Liberation Serif"},
        {"MS Sans Serif", "Liberation Sans"},
    };
    for (const auto& s : substitutes) {
        const QString face = QString::fromLatin1(s.face);
        if (!QFontDatabase::hasFamily(face))
            QFont::insertSubstitution(face, QString::fromLatin1(s.stand_in));
    }
}

QFont Fonts::font(const QString& family, double points, bool bold, bool underline)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}
