#include "data/KeyRuns.h"

#include <QTest>
#include <string>

namespace {

using Runs = KeyRuns<std::string>;
using Keys = std::vector<std::int64_t>;
constexpr std::int64_t kNone = Runs::kNone;

Keys keysOf(const Runs& runs)
{
    Keys keys;
    for (int row = 0; row < runs.rows(); ++row)
        keys.push_back(runs.keyAt(row));
    return keys;
}

// A book of eight rows (keys 10 to 80) counted after its first two: the front run holds 10 and 20, the back run
// 80 after one read from the end, and rows 2 to 6 wait between the runs.
Runs countedBook()
{
    Runs runs(100);
    runs.append({10, 20});
    runs.extendTo(8);
    runs.fillBack({80});
    return runs;
}

} // namespace

class tst_KeyRuns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bookReadFromBothEnds()
    {
        Runs runs = countedBook();
        QCOMPARE(keysOf(runs), (Keys{10, 20, kNone, kNone, kNone, kNone, kNone, 80}));
        QVERIFY(runs.between(2) && runs.between(6) && !runs.between(7));
        QVERIFY(runs.nearerFront(4) && !runs.nearerFront(5));
        runs.fillBack({70, 60});
        runs.fillFront({30});
        QCOMPARE(keysOf(runs), (Keys{10, 20, 30, kNone, kNone, 60, 70, 80}));
        // A read that brings more keys than rows are left between the runs never writes over the back run.
        runs.fillFront({40, 50, 99});
        QCOMPARE(keysOf(runs), (Keys{10, 20, 30, 40, 50, 60, 70, 80}));
        QCOMPARE(runs.front(), runs.back());
        QCOMPARE(runs.rowOf(60), 5);
        QCOMPARE(runs.rowOf(99), -1);
    }

    // A screen read by its position lands between the runs only, in rows that have no key yet; the runs write
    // over it when they reach it.
    void screenReadAloneBetweenTheRuns()
    {
        Runs runs = countedBook();
        runs.fillAt(1, {21, 31, 41});
        runs.fillAt(6, {71, 81, 91});
        QCOMPARE(keysOf(runs), (Keys{10, 20, 31, 41, kNone, kNone, 71, 80}));
        runs.fillAt(3, {40, 50});
        QCOMPARE(keysOf(runs), (Keys{10, 20, 31, 41, 50, kNone, 71, 80}));
        runs.fillFront({30, 40});
        runs.fillBack({70});
        QCOMPARE(keysOf(runs), (Keys{10, 20, 30, 40, 50, kNone, 70, 80}));
        QCOMPARE(runs.front(), 4);
        QCOMPARE(runs.back(), 6);
    }

    // A row deleted anywhere keeps the keys still to come in their rows: the front run continues at the row after
    // its last, the back run before its first.
    void eraseKeepsTheRunsInPlace_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<Keys>("filled");
        QTest::newRow("front run") << 0 << Keys{20, 30, 40, 50, 60, 70, 80};
        QTest::newRow("first of the back run") << 6 << Keys{10, 20, 30, 40, 50, 60, 80};
        QTest::newRow("back run") << 7 << Keys{10, 20, 30, 40, 50, 60, 70};
    }
    void eraseKeepsTheRunsInPlace()
    {
        QFETCH(int, row);
        QFETCH(Keys, filled);
        Runs runs = countedBook();
        runs.fillBack({70}); // rows 2 to 5 between the runs
        runs.erase(row);
        QCOMPARE(runs.rows(), 7);
        runs.fillFront({30, 40});
        runs.fillBack({60, 50});
        QCOMPARE(keysOf(runs), filled);
    }

    // When the runs meet, rows counted but never read were deleted elsewhere; rows read past the count were added.
    void settleAfterTheCount()
    {
        Runs fewer = countedBook();
        fewer.fillFront({30, 40});
        fewer.removeBetween();
        QCOMPARE(keysOf(fewer), (Keys{10, 20, 30, 40, 80}));

        Runs more(100);
        more.append({10});
        more.extendTo(2);
        more.fillBack({30});
        more.insertBetween({15, 20});
        QCOMPARE(keysOf(more), (Keys{10, 15, 20, 30}));
        QCOMPARE(more.front(), 3);
        QCOMPARE(more.back(), 3);
    }

    void laterCopies_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<std::vector<int>>("copies");
        QTest::newRow("none") << Keys{1, 2, 3} << std::vector<int>{};
        QTest::newRow("one row read twice") << Keys{1, 2, 3, 2} << std::vector<int>{3};
        QTest::newRow("first row read thrice") << Keys{5, 1, 5, 2, 5} << std::vector<int>{2, 4};
    }
    void laterCopies()
    {
        QFETCH(Keys, keys);
        QFETCH(std::vector<int>, copies);
        Runs runs(100);
        runs.append(keys);
        QCOMPARE(runs.laterCopies(), copies);
    }

    // The values of a deleted row are gone with it: a key SQLite hands out again must not show them.
    void cachedValues()
    {
        Runs runs(2);
        runs.append({1, 2, 3});
        runs.keep(1, "one");
        runs.keep(2, "two");
        QCOMPARE(*runs.cached(2), std::string("two"));
        runs.keep(3, "three");
        QCOMPARE(runs.cachedRows(), std::size_t(1));
        QVERIFY(!runs.cached(1));
        runs.erase(2);
        QVERIFY(!runs.cached(3));
        QCOMPARE(keysOf(runs), (Keys{1, 2}));
    }
};

QTEST_GUILESS_MAIN(tst_KeyRuns)
#include "tst_keyruns.moc"
