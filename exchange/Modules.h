#pragma once

#include <QString>
#include <QtGlobal>

// Parts of the program that need large libraries (libphonenumber, Qt's printing, Qt Network) live in modules of
// their own, loaded the first time they are needed: linked into the program, those libraries would cost every start
// their loading and relocation before the first window, for something most runs never use.
//
// A module is looked for beside the program (a program copied into a folder of its own, with its modules), then in
// the folder the modules are installed to, lib/tovrin/modules beside bin/ (also where the build puts them).
namespace Modules {

// The function `symbol` of the module `name` (its file name without the platform's suffix), the module loaded on
// the first call and kept for the rest of the run; null, with `whyNot` saying why, when none could be loaded.
// Safe from any thread.
QFunctionPointer entry(const char* name, const char* symbol, QString* whyNot);

// The table of functions a module gives through `symbol`, a function under C linkage that returns a pointer to it,
// when the table is of `version` (its first member); null, with `whyNot` saying why, when none or another.
template <typename Table> const Table* table(const char* name, const char* symbol, int version, QString* whyNot)
{
    using Entry = const Table* (*)();
    const auto give = reinterpret_cast<Entry>(entry(name, symbol, whyNot));
    const Table* found = give ? give() : nullptr;
    if (found && found->version != version) {
        if (whyNot)
            *whyNot = QStringLiteral("a module of another version");
        return nullptr;
    }
    return found;
}

} // namespace Modules
