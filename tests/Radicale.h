#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// A Radicale server of the test's own on 127.0.0.1 (a port the system picks), with its own configuration,
// storage and plain htpasswd users, for one test: user "alice", password "secret", address books "personal" and
// "business" made before it starts. Its log (info level) names every request it served.
class Radicale
{
public:
    static constexpr const char* kPython = "/usr/bin/python3";

    // Whether the server can be started at all (the Debian package is installed).
    static bool available()
    {
        return QProcess::execute(QString::fromLatin1(kPython),
                                 {QStringLiteral("-c"), QStringLiteral("import radicale")}) == 0;
    }

    Radicale()
    {
        const QString root = m_dir.path();
        write(QStringLiteral("users"), "alice:secret\n");
        for (const char* book : {"personal", "business"}) {
            const QString folder = root + QStringLiteral("/collections/collection-root/alice/") + QLatin1String(book);
            QDir().mkpath(folder);
            write(folder.mid(root.size() + 1) + QStringLiteral("/.Radicale.props"), "{\"tag\": \"VADDRESSBOOK\"}");
        }
        write(QStringLiteral("config"), QStringLiteral("[server]\nhosts = 127.0.0.1:0\n"
                                                       "[auth]\ntype = htpasswd\nhtpasswd_filename = %1/users\n"
                                                       "htpasswd_encryption = plain\n"
                                                       "[rights]\ntype = owner_only\n"
                                                       "[storage]\nfilesystem_folder = %1/collections\n"
                                                       "[logging]\nlevel = info\nmask_passwords = True\n")
                                            .arg(root)
                                            .toUtf8());
        // The log goes to a file: a pipe nobody reads while the test waits for something else would fill, and the
        // server would stop answering.
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.setStandardOutputFile(m_dir.filePath(QStringLiteral("log")));
        m_server.start(QString::fromLatin1(kPython), {QStringLiteral("-m"), QStringLiteral("radicale"),
                                                      QStringLiteral("-C"), root + QStringLiteral("/config")});
        const QRegularExpression listening(QStringLiteral("Listening on '\\[127\\.0\\.0\\.1\\]:(\\d+)'"));
        QElapsedTimer waited;
        waited.start();
        while (m_port == 0 && waited.elapsed() < 15000 && m_server.state() != QProcess::NotRunning) {
            QThread::msleep(50);
            if (const auto match = listening.match(QString::fromUtf8(log())); match.hasMatch())
                m_port = match.captured(1).toInt();
        }
    }
    ~Radicale()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    int port() const { return m_port; }
    QUrl url(const QString& path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)); }

    // How many requests of `method` the server has served so far.
    int served(const char* method)
    {
        // The server logs a request once it has answered it.
        return int(log().count(QByteArray(method) + " response status"));
    }

private:
    QByteArray log() const
    {
        QFile file(m_dir.filePath(QStringLiteral("log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    QProcess m_server;
    int m_port = 0;
};
