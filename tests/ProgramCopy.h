#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

// The program copied to `path`, with the modules it loads from beside itself, as a user copies the program into a
// folder of its own. False when any could not be copied.
inline bool copyProgram(const QString& path)
{
    const QString folder = QFileInfo(path).path();
    const QDir modules(QStringLiteral(TOVRIN_MODULES));
    for (const QString& module : modules.entryList(QDir::Files)) {
        QFile::remove(folder + QLatin1Char('/') + module);
        if (!QFile::copy(modules.filePath(module), folder + QLatin1Char('/') + module))
            return false;
    }
    return !modules.isEmpty() && QFile::copy(QStringLiteral(TOVRIN_BINARY), path);
}
