// The fuzz targets' checks in every build: the committed corpus, a fixed sample of generated patterns, and the
// matcher's worst case through a statement, as the message log would run it.
#include "TempDatabase.h"
#include "data/DataControl.h"
#include "fuzz/DateOracle.h"
#include "fuzz/LikeOracle.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QString corpusDir(const char* target)
{
    return QStringLiteral(TOVRIN_FUZZ_CORPUS "/") + QLatin1String(target);
}

void addCorpusRows(const char* target)
{
    QTest::addColumn<QByteArray>("input");
    const QDir dir(corpusDir(target));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY2(!files.isEmpty(), qPrintable(dir.path()));
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << file.readAll();
    }
}

std::string_view view(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

} // namespace

class TestFuzzCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void likeCorpus_data() { addCorpusRows("like"); }
    void likeCorpus();
    void datesCorpus_data() { addCorpusRows("dates"); }
    void datesCorpus();
    void generatedPatternsAgreeWithReference_data();
    void generatedPatternsAgreeWithReference();
    void pathologicalPatternThroughStatement_data();
    void pathologicalPatternThroughStatement();
};

void TestFuzzCorpus::likeCorpus()
{
    QFETCH(QByteArray, input);
    const std::string fault = LikeOracle::check(view(input));
    QVERIFY2(fault.empty(), fault.c_str());
}

void TestFuzzCorpus::datesCorpus()
{
    QFETCH(QByteArray, input);
    const std::string fault = DateOracle::check(view(input));
    QVERIFY2(fault.empty(), fault.c_str());
}

void TestFuzzCorpus::generatedPatternsAgreeWithReference_data()
{
    QTest::addColumn<QByteArrayList>("alphabet");
    // Small alphabets make the pattern characters meet each other and the texts often enough to match.
    QTest::newRow("pattern characters") << QByteArrayList{"*", "?", "#", "[", "]", "!", "-", "a", "b", "1"};
    QTest::newRow("letter case") << QByteArrayList{"*", "[", "]", "-", "a", "A", "z",           "Z",
                                                   "é", "É", "ß", "ſ", "S", "K", "\xE2\x84\xAA" /* Kelvin sign */};
    QTest::newRow("broken bytes") << QByteArrayList{"*", "?", "[", "]", "!", "\xC3", "\xA9", "\x80", "\xF0\x9F", "a"};
    QTest::newRow("scripts") << QByteArrayList{"*", "?", "#", "[", "]", "!", "-", "א", "ת", "٣", "😀", "Σ", "ς", "σ"};
}

void TestFuzzCorpus::generatedPatternsAgreeWithReference()
{
    QFETCH(QByteArrayList, alphabet);
    QRandomGenerator random(20260615); // fixed, so a failure repeats
    const auto draw = [&](int maxLength) {
        QByteArray s;
        const int length = int(random.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i)
            s += alphabet.at(int(random.bounded(alphabet.size())));
        return s;
    };
    for (int round = 0; round < 5000; ++round) {
        const QByteArray input = draw(10) + '\n' + draw(14);
        const std::string fault = LikeOracle::check(view(input));
        QVERIFY2(fault.empty(), (fault + " for " + input.toPercentEncoding().toStdString()).c_str());
    }
}

void TestFuzzCorpus::pathologicalPatternThroughStatement_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("found");

    const QString as(200000, QLatin1Char('a'));
    QTest::newRow("no b") << as << false;
    QTest::newRow("b at the end") << as + QLatin1Char('b') << true;
    QTest::newRow("capital B at the end") << as + QLatin1Char('B') << true;
    QTest::newRow("b too early") << QStringLiteral("aaaaab") + as << false;
}

void TestFuzzCorpus::pathologicalPatternThroughStatement()
{
    QFETCH(QString, body);
    QFETCH(bool, found);

    // A backtracking matcher needs about n^6 steps here; the test's time-out ends it long before.
    TempDatabase db;
    const QByteArray utf8 = body.toUtf8();
    sqlite3_stmt* insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db.raw(), "INSERT INTO tblMes (Hodaa) VALUES (?)", -1, &insert, nullptr), SQLITE_OK);
    sqlite3_bind_text(insert, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
    db.close();

    const QByteArray pattern("*a*a*a*a*a*a*b");
    QCOMPARE(LikeOracle::matches(view(pattern), view(utf8)), found);
    DataControl control;
    control.setDatabaseName(db.path());
    control.setRecordSource(QStringLiteral("SELECT * FROM tblMes WHERE Hodaa LIKE '%1'").arg(QLatin1String(pattern)));
    control.Refresh();
    QCOMPARE(!control.Recordset()->Eof(), found);
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
