#include "Module1.h"

#include <QCoreApplication>
#include <QDir>

QString gDbPath;
QString gRecordSource;

namespace {
QString s_programDirOverride;
}

QString Module1::programDir()
{
    return s_programDirOverride.isEmpty() ? QCoreApplication::applicationDirPath() : s_programDirOverride;
}

void Module1::setProgramDirForTesting(const QString& dir)
{
    s_programDirOverride = dir;
}

QString Module1::besideProgram(const QString& fileName)
{
    return QDir::toNativeSeparators(programDir() + QLatin1Char('/') + fileName);
}

QString Module1::databasePath()
{
    return besideProgram(QStringLiteral("Dalvek.mdb"));
}
