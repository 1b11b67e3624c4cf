#pragma once

// What the tests of contacts in and out share: a directory holding entries that tend to break a format, the
// entries of a file as comparable rows, and the program itself run on a test's file without windows.
#include "ProgramCopy.h"
#include "TempDatabase.h"
#include "data/Contact.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QtTest>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

inline const QString kNoNumber = QStringLiteral("___ - _______");

// Entries as the entry window stores them, with what tends to break a format: Hebrew, quotes, commas, semicolons,
// a line break, a backslash.
inline void seed(TempDatabase& db)
{
    QCOMPARE(
        db.exec(QStringLiteral(
            "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) "
            "VALUES ('Personal', 'דנה', 'כהן', ' ', 'רחוב הרצל 12, דירה 3', 'חיפה', '', '31999', '048 - 1234567', "
            "'___ - _______', '050 - 7654321', '___ - _______'), "
            "('Personal', 'Sean', 'O''Brien', ' ', '1 \"Main\" St;\nBack door', 'Cork', 'CO', '_____', "
            "'021 - 4567890', '021 - 4567891', '___ - _______', '___ - _______'), "
            "('Business', 'Ann', 'Lee', 'Smith, Jones \\ Co', '', 'Boston', 'MA', '02101', '617 - 5550100', "
            "'___ - _______', '___ - _______', '617 - 5550199')")),
        SQLITE_OK);
    db.close();
}

inline QStringList rowsOf(const QList<Contact>& entries)
{
    QStringList rows;
    for (const Contact& c : entries)
        rows << QStringList{c.category, c.fname, c.lname, c.busName, c.address, c.city,
                            c.state,    c.zip,   c.tel1,  c.tel2,    c.pel,     c.fax}
                    .join(QLatin1Char('|'));
    return rows;
}

// The program copied into the folder of `db` (so it uses that file), run without any display.
class Program
{
public:
    explicit Program(TempDatabase& db) : m_dir(db.dir())
    {
        QFile::remove(m_dir + QStringLiteral("/tovrin"));
        QVERIFY(copyProgram(m_dir + QStringLiteral("/tovrin")));
        for (const QString& entry : QProcessEnvironment::systemEnvironment().toStringList()) {
            if (!entry.startsWith(QLatin1String("DISPLAY=")) && !entry.startsWith(QLatin1String("QT_QPA_PLATFORM=")))
                m_environment << QFile::encodeName(entry);
        }
    }

    struct Run
    {
        int exitCode = -1; // -1: killed after the time allowed
        long peakKb = 0;   // the largest resident size the run reached
        QByteArray out;
        QByteArray err;
    };

    // Runs the program with its output in files, for at most `seconds`.
    Run run(const QStringList& arguments, int seconds = 60) const
    {
        const QByteArray program = QFile::encodeName(m_dir + QStringLiteral("/tovrin"));
        const QByteArray outPath = QFile::encodeName(m_dir + QStringLiteral("/run.out"));
        const QByteArray errPath = QFile::encodeName(m_dir + QStringLiteral("/run.err"));
        QList<QByteArray> args{program};
        for (const QString& argument : arguments)
            args << QFile::encodeName(argument);
        std::vector<char*> argv;
        for (QByteArray& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        QList<QByteArray> environment = m_environment;
        std::vector<char*> envp;
        for (QByteArray& e : environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        Run result;
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return result;
        QElapsedTimer clock;
        clock.start();
        int status = 0;
        rusage usage{};
        for (;;) {
            if (wait4(pid, &status, WNOHANG, &usage) == pid)
                break;
            if (clock.elapsed() > seconds * 1000) {
                kill(pid, SIGKILL);
                wait4(pid, &status, 0, &usage);
                status = -1;
                break;
            }
            usleep(10000);
        }
        result.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.peakKb = usage.ru_maxrss;
        QFile out(QFile::decodeName(outPath));
        if (out.open(QIODevice::ReadOnly))
            result.out = out.readAll();
        QFile err(QFile::decodeName(errPath));
        if (err.open(QIODevice::ReadOnly))
            result.err = err.readAll();
        return result;
    }

    void setEnvironment(const QString& name, const QString& value)
    {
        const QByteArray prefix = QFile::encodeName(name) + '=';
        m_environment.removeIf([&](const QByteArray& entry) { return entry.startsWith(prefix); });
        m_environment << prefix + QFile::encodeName(value);
    }

private:
    QString m_dir;
    QList<QByteArray> m_environment;
};

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
