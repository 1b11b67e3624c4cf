#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// A Xandikos server of the test's own on 127.0.0.1, with its own storage, for one test. Xandikos has no
// authentication: any user name and password are taken. Its principal is /user/, with a calendar and an address
// book made at start (--defaults).
class Xandikos
{
public:
    static constexpr const char* kPython = "/usr/bin/python3";

    // Whether the server can be started at all (the Debian package is installed).
    static bool available()
    {
        return QProcess::execute(QString::fromLatin1(kPython),
                                 {QStringLiteral("-c"), QStringLiteral("import xandikos.web")}) == 0;
    }

    Xandikos()
    {
        // A port the system picks, given back for the server to take.
        {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost))
                return;
            m_port = probe.serverPort();
        }
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.setStandardOutputFile(m_dir.filePath(QStringLiteral("log")));
        m_server.start(QString::fromLatin1(kPython),
                       {QStringLiteral("-m"), QStringLiteral("xandikos.web"), QStringLiteral("-d"),
                        m_dir.filePath(QStringLiteral("data")), QStringLiteral("--defaults"), QStringLiteral("-l"),
                        QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(m_port)});
        QElapsedTimer waited;
        waited.start();
        bool up = false;
        while (!up && waited.elapsed() < 15000 && m_server.state() != QProcess::NotRunning) {
            QThread::msleep(100);
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
            up = socket.waitForConnected(500);
        }
        if (!up)
            m_port = 0;
    }
    ~Xandikos()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    int port() const { return m_port; }
    QUrl url(const QString& path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)); }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    int m_port = 0;
};
