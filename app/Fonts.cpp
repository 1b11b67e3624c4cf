#include "app/Fonts.h"

#if defined(TOVRIN_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

std::future<void> Fonts::readConfigurationAhead()
{
#if defined(TOVRIN_FONTCONFIG)
    // Qt's font database calls FcInit itself, which does nothing once the configuration is loaded; fontconfig
    // guards its loading against two threads at once.
    return std::async(std::launch::async, [] { FcInit(); });
#else
    return {};
#endif
}

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
    // A substitute is used only where the face itself is missing, so there is no need to ask the font database
    // (which would load it before the first window is shown).
    for (const auto& s : substitutes)
        QFont::insertSubstitution(QString::fromLatin1(s.face), QString::fromLatin1(s.stand_in));
}

QFont Fonts::font(const QString& family, double points, bool bold, bool underline)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}
