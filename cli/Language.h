#pragma once

#include <QString>

// The language the program speaks: Hebrew or English (the texts as written). Chosen from the user's locale as
// gettext reads it (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, the first one set), or for one run by --lang. The windows
// and the command line both install the translators before they make any text.
namespace Language {

// The language the environment asks for: "he" or "en".
QString fromEnvironment();
// "he" or "en" for a value of LANGUAGE, LC_ALL, ... ("he_IL.UTF-8", "he:en", "iw"); empty when it names neither.
QString fromLocaleName(const QString& name);

// Takes --lang CODE (or --lang=CODE) out of the arguments, as the application object must not see it. Returns 2
// after saying so when CODE is neither he nor en, else 0.
int takeOption(int& argc, char** argv);
// The language of this run: --lang's, else the environment's.
QString chosen();

// Loads the program's translation and Qt's own for the chosen language into the application object, which must
// exist. Under Hebrew the windows are laid out right to left. Returns false when the program's translation could
// not be loaded (the texts then stay English).
bool install();

} // namespace Language
