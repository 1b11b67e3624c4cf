#include "exchange/PhoneRules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
#include <cstdio>
#include <memory>

namespace {

// The folder of the running program's file, with or without an application object (the command line reads its
// options before it makes one).
QString programFolder()
{
#ifdef Q_OS_LINUX
    const QString file = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!file.isEmpty())
        return QFileInfo(file).path();
#endif
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

// Never unloaded: the rules are kept for the rest of the run.
QLibrary* s_module = nullptr;

const PhoneRules::Table* load()
{
    const QString folder = programFolder();
    const QString name = QString::fromLatin1(PhoneRules::kModuleName);
    QStringList tried;
    if (!folder.isEmpty()) {
        for (const QString& place : {folder, folder + QStringLiteral("/" TOVRIN_MODULE_FOLDER)}) {
            auto library = std::make_unique<QLibrary>(place + QLatin1Char('/') + name);
            if (!library->load()) {
                tried << library->errorString();
                continue;
            }
            using Entry = const PhoneRules::Table* (*)();
            const auto entry = reinterpret_cast<Entry>(library->resolve(PhoneRules::kEntry));
            const PhoneRules::Table* table = entry ? entry() : nullptr;
            if (table && table->version == PhoneRules::kVersion) {
                s_module = library.release();
                return table;
            }
            tried << library->fileName() + QStringLiteral(" (of another version)");
            library->unload();
        }
    }
    const QString said = QCoreApplication::translate(
        "PhoneRules", "Tovrin: the telephone rules could not be loaded; numbers are read as ten digits only (%1)");
    std::fprintf(stderr, "%s\n", qPrintable(said.arg(tried.join(QStringLiteral("; ")))));
    return nullptr;
}

} // namespace

const PhoneRules::Table* PhoneRules::table()
{
    static const Table* const loaded = load();
    return loaded;
}
