#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

// The program copied to `path`, with the module of telephone rules it loads from beside itself, as a user copies
// the program into a folder of its own. False when either could not be copied.
inline bool copyProgram(const QString& path)
{
    const QString rules = QStringLiteral(TOVRIN_PHONE_RULES);
    const QString rulesCopy = QFileInfo(path).path() + QLatin1Char('/') + QFileInfo(rules).fileName();
    QFile::remove(rulesCopy);
    return QFile::copy(QStringLiteral(TOVRIN_BINARY), path) && QFile::copy(rules, rulesCopy);
}
