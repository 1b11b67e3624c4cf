#include "exchange/Modules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QMutex>
#include <QStringList>
#include <map>
#include <memory>
#include <string>

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

QMutex s_lock;
// The modules loaded, by name; never unloaded.
std::map<std::string, std::unique_ptr<QLibrary>> s_loaded;

} // namespace

QFunctionPointer Modules::entry(const char* name, const char* symbol, QString* whyNot)
{
    const QMutexLocker lock(&s_lock);
    std::unique_ptr<QLibrary>& module = s_loaded[name];
    QStringList tried;
    const QString folder = module ? QString() : programFolder();
    if (!folder.isEmpty()) {
        for (const QString& place : {folder, folder + QStringLiteral("/" TOVRIN_MODULE_FOLDER)}) {
            auto library = std::make_unique<QLibrary>(place + QLatin1Char('/') + QString::fromLatin1(name));
            if (library->load()) {
                module = std::move(library);
                break;
            }
            tried << library->errorString();
        }
    }
    if (!module) {
        if (whyNot)
            *whyNot = tried.isEmpty() ? QStringLiteral("the program's folder is not known") : tried.join(u"; ");
        return nullptr;
    }
    const QFunctionPointer function = module->resolve(symbol);
    if (!function && whyNot)
        *whyNot = module->errorString();
    return function;
}
