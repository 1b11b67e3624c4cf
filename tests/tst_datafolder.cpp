// Where the database file lives: beside the program run from a folder of its own, a per-user copy of the
// template when installed.
#include "app/Module1.h"
#include "data/DbError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void put(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

mode_t modeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : mode_t(-1);
}

} // namespace

class TestDataFolder : public QObject
{
    Q_OBJECT
    QTemporaryDir m_root;
    QString m_prefix;

    QString bin() const { return m_prefix + QStringLiteral("/bin"); }
    QString share() const { return m_prefix + QStringLiteral("/share/tovrin"); }
    QString user(const QString& name) const { return m_root.path() + QStringLiteral("/home/") + name; }
    void becomeUser(const QString& name) { qputenv("XDG_DATA_HOME", QFile::encodeName(user(name) + "/.local/share")); }
    QString userFile(const QString& name) const
    {
        return user(name) + QStringLiteral("/.local/share/Tovrin/Dalvek.mdb");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QCoreApplication::setApplicationName(QStringLiteral("Tovrin"));
    }
    void init()
    {
        static int round = 0;
        m_prefix = m_root.path() + QStringLiteral("/prefix%1").arg(++round);
        QVERIFY(QDir().mkpath(bin()));
        Module1::setProgramDirForTesting(bin());
    }

    void locationRule_data()
    {
        QTest::addColumn<bool>("besideThere");
        QTest::addColumn<bool>("templateThere");
        QTest::addColumn<bool>("installed");
        QTest::newRow("own folder") << true << false << false;
        QTest::newRow("own folder, file missing") << false << false << false;
        QTest::newRow("own folder beside an installed copy") << true << true << false;
        QTest::newRow("installed") << false << true << true;
    }
    void locationRule()
    {
        QFETCH(bool, besideThere);
        QFETCH(bool, templateThere);
        QFETCH(bool, installed);
        if (besideThere)
            put(bin() + QStringLiteral("/Dalvek.mdb"), "beside");
        if (templateThere)
            put(share() + QStringLiteral("/Dalvek.mdb"), "template");
        becomeUser(QStringLiteral("ann"));

        const QString expected = installed ? userFile(QStringLiteral("ann")) : bin() + QStringLiteral("/Dalvek.mdb");
        QCOMPARE(Module1::databaseLocation(), QDir::toNativeSeparators(expected));
        QCOMPARE(Module1::besideProgram(QStringLiteral("Kesh1.gif")),
                 QDir::toNativeSeparators((installed ? share() : bin()) + QStringLiteral("/Kesh1.gif")));
        // Telling where the file is makes no copy; only opening it does.
        QVERIFY(!QFile::exists(userFile(QStringLiteral("ann"))));
        QCOMPARE(Module1::databasePath(), QDir::toNativeSeparators(expected));
        QCOMPARE(QFile::exists(userFile(QStringLiteral("ann"))), installed);
        if (besideThere)
            QCOMPARE(contentOf(bin() + QStringLiteral("/Dalvek.mdb")), QByteArray("beside"));
    }

    void userCopy_data()
    {
        QTest::addColumn<QByteArray>("existing"); // the user's file before the start, none when empty
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first start copies the template") << QByteArray() << QByteArray("template");
        QTest::newRow("a file of the user's stays as it is") << QByteArray("mine") << QByteArray("mine");
    }
    void userCopy()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, expected);
        put(share() + QStringLiteral("/Dalvek.mdb"), "template");
        becomeUser(QStringLiteral("bob"));
        const QString file = userFile(QStringLiteral("bob"));
        if (!existing.isEmpty())
            put(file, existing);

        for (int start = 0; start < 2; ++start) {
            QCOMPARE(Module1::databasePath(), QDir::toNativeSeparators(file));
            QCOMPARE(contentOf(file), expected);
            put(share() + QStringLiteral("/Dalvek.mdb"), "a newer template"); // an upgrade changes nothing made
        }
        if (existing.isEmpty()) {
            QCOMPARE(modeOf(file), mode_t(0600));
            QCOMPARE(modeOf(QFileInfo(file).absolutePath()), mode_t(0700));
        }
        QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files).size(), 1); // nothing left beside it
    }

    void usersNeverShareAFile()
    {
        put(share() + QStringLiteral("/Dalvek.mdb"), "template");
        const QStringList users{QStringLiteral("carl"), QStringLiteral("dina")};
        QStringList paths;
        for (const QString& name : users) {
            becomeUser(name);
            paths << Module1::databasePath();
            put(paths.last(), name.toUtf8());
        }
        QVERIFY(paths[0] != paths[1]);
        for (int i = 0; i < users.size(); ++i) {
            becomeUser(users[i]);
            QCOMPARE(Module1::databasePath(), paths[i]);
            QCOMPARE(contentOf(paths[i]), users[i].toUtf8());
        }
    }

    void aFolderThatCannotBeMadeIsReported()
    {
        put(share() + QStringLiteral("/Dalvek.mdb"), "template");
        put(m_prefix + QStringLiteral("/blocked"), "a file where the folder would go");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_prefix + QStringLiteral("/blocked/share")));
        try {
            Module1::databasePath();
            QFAIL("no error");
        } catch (const DbError& error) {
            QVERIFY2(error.description().contains(QStringLiteral("blocked")), qPrintable(error.description()));
        }
    }

    // A folder someone else could have prepared is refused before anything is made in it.
    void anUnsafeFolderIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to another user's open folder") << QStringLiteral("link");
        QTest::newRow("writable by everyone") << QStringLiteral("open");
        QTest::newRow("owned by another user") << QStringLiteral("foreign");
    }
    void anUnsafeFolderIsRefused()
    {
        QFETCH(QString, kind);
        if (kind == QLatin1String("foreign") && ::geteuid() != 0)
            QSKIP("giving a folder to another user needs root");
        put(share() + QStringLiteral("/Dalvek.mdb"), "template");
        becomeUser(QStringLiteral("eve"));
        const QString folder = QFileInfo(userFile(QStringLiteral("eve"))).absolutePath();
        const QString elsewhere = m_prefix + QStringLiteral("/shared");
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        if (kind == QLatin1String("link")) {
            QCOMPARE(::chmod(QFile::encodeName(elsewhere).constData(), 0777), 0);
            QVERIFY(QFile::link(elsewhere, folder));
        } else {
            QVERIFY(QDir().mkpath(folder));
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), kind == QLatin1String("open") ? 0777 : 0700), 0);
            if (kind == QLatin1String("foreign"))
                QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        }
        try {
            Module1::databasePath();
            QFAIL("no error");
        } catch (const DbError& error) {
            QVERIFY2(error.description().contains(folder), qPrintable(error.description()));
        }
        QVERIFY(!QFile::exists(userFile(QStringLiteral("eve"))));
        QVERIFY(QDir(elsewhere).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
