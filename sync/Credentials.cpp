#include "sync/Credentials.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef TOVRIN_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

namespace {

const QString kService = QStringLiteral("Tovrin CardDAV");

QString filePath()
{
    const QString chosen = qEnvironmentVariable("TOVRIN_CREDENTIALS");
    if (!chosen.isEmpty())
        return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tovrin/sync-passwords");
}

QJsonObject fileContents()
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool writeFile(const QString& account, const QString& password, QString& error)
{
    QJsonObject all = fileContents();
    all.insert(account, password);
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(all).toJson());
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

#ifdef TOVRIN_HAVE_KEYCHAIN
template <class Job> bool runJob(Job& job, QString& error)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (job.error() != QKeychain::NoError) {
        error = job.errorString();
        return false;
    }
    return true;
}
#endif

} // namespace

Credentials::Kept Credentials::store(const QString& account, const QString& password)
{
    Kept kept;
    const bool fileOnly = !qEnvironmentVariableIsEmpty("TOVRIN_CREDENTIALS");
#ifdef TOVRIN_HAVE_KEYCHAIN
    if (!fileOnly) {
        QKeychain::WritePasswordJob job(kService);
        job.setKey(account);
        job.setTextData(password);
        QString error;
        if (runJob(job, error)) {
            kept.ok = true;
            kept.where = QCoreApplication::translate("Credentials", "the desktop keyring");
            return kept;
        }
        // Without a keyring service qtkeychain says only "Unknown error", which tells the user nothing more.
        const bool unexplained = error.isEmpty() || error == QLatin1String("Unknown error");
        kept.note = unexplained
                        ? QCoreApplication::translate("Credentials", "no desktop keyring answered")
                        : QCoreApplication::translate("Credentials", "no desktop keyring answered (%1)").arg(error);
    }
#else
    if (!fileOnly)
        kept.note = QCoreApplication::translate("Credentials", "this build of the program has no keyring support");
#endif
    QString error;
    kept.where = filePath();
    kept.ok = writeFile(account, password, error);
    if (!kept.ok)
        kept.note = error;
    return kept;
}

QString Credentials::read(const QString& account)
{
    const QJsonObject file = fileContents();
    if (file.contains(account))
        return file.value(account).toString();
#ifdef TOVRIN_HAVE_KEYCHAIN
    if (qEnvironmentVariableIsEmpty("TOVRIN_CREDENTIALS")) {
        QKeychain::ReadPasswordJob job(kService);
        job.setKey(account);
        QString error;
        if (runJob(job, error))
            return job.textData();
    }
#endif
    return {};
}
