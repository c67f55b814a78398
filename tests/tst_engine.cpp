// The generation engine without any window: sets, pool, composer and the random source.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/number.h"
#include "engine/random_source.h"

#include <QTest>
#include <set>

using namespace zintrova;

namespace {

struct Engine {
    SetArray BaseSet, UseSet;
    SimilarTable Similar;
    std::string Exclude, Pool;
    Engine() { InitSets(BaseSet, Similar); }
    void Build(int filter, int lower, int upper, int digits)
    {
        BuildPool(BaseSet, Similar, filter, {0, lower, upper, digits}, Exclude, UseSet, Pool);
    }
};

// A draw that selects index i of n (the middle of its bucket).
float Slot(int i, int n)
{
    return (static_cast<float>(i) + 0.5f) / static_cast<float>(n);
}

const char *Lower = "abcdefghijklmnopqrstuvwxyz";
const char *Upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

} // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void poolTables_data();
    void poolTables();
    void greyedBoxCountsAsOn();
    void composerExactPositions();
    void insertionNeverAppends();
    void lengthAndMinPerSet_data();
    void lengthAndMinPerSet();
    void lengthClampingAndCrossedRange();
    void emptyPoolLeavesMinPerSet();
    void largestDrawPicksLastCharacter();
    void systemSourceStaysBelowOne();
    void numberReading_data();
    void numberReading();
};

void TestEngine::poolTables_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("pool");
    const QString lowerNoL = "abcdefghijkmnopqrstuvwxyz";
    const QString digits = "0123456789";
    QTest::newRow("all, filter on")
        << 1 << 1 << 1 << 1 << lowerNoL + "ACEFGHJKLMNPQRTUVWXY" + digits;
    QTest::newRow("all, filter off") << 0 << 1 << 1 << 1 << QString(Lower) + Upper + digits;
    QTest::newRow("lower+upper") << 1 << 1 << 1 << 0 << lowerNoL + "ABCDEFGHJKLMNPQRSTUVWXYZ";
    QTest::newRow("lower+digits") << 1 << 1 << 0 << 1 << lowerNoL + digits;
    QTest::newRow("upper+digits") << 1 << 0 << 1 << 1 << "ACEFGHJKLMNPQRTUVWXY" + digits;
    QTest::newRow("lower only") << 1 << 1 << 0 << 0 << QString(Lower);
    QTest::newRow("upper only") << 1 << 0 << 1 << 0 << QString(Upper);
    QTest::newRow("digits only") << 1 << 0 << 0 << 1 << digits;
    QTest::newRow("none") << 1 << 0 << 0 << 0 << QString();
}

void TestEngine::poolTables()
{
    QFETCH(int, filter);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(int, digits);
    QFETCH(QString, pool);
    Engine e;
    e.Build(filter, lower, upper, digits);
    QCOMPARE(QString::fromStdString(e.Pool), pool);
    QCOMPARE(QString::fromStdString(e.UseSet[1] + e.UseSet[2] + e.UseSet[3]), pool);
    QCOMPARE(e.UseSet[1].empty(), lower == 0);
    QCOMPARE(e.UseSet[2].empty(), upper == 0);
    QCOMPARE(e.UseSet[3].empty(), digits == 0);
}

void TestEngine::greyedBoxCountsAsOn()
{
    Engine on, grey;
    on.Build(1, 1, 1, 1);
    grey.Build(1, 2, 1, 2);
    QCOMPARE(grey.Exclude, on.Exclude);
    QCOMPARE(grey.Pool, on.Pool);
    QCOMPARE(grey.Pool.size(), std::size_t(55));
}

void TestEngine::composerExactPositions()
{
    // Length 3, all sets on, filter off: one character of each set. Draws: length, then per
    // character a pick and a place.
    Engine e;
    e.Build(0, 1, 1, 1);
    ScriptedRandom r({0.0f,                 // length: 3 + floor(0 * 1) = 3
                      Slot(2, 26), 0.0f,    // 'c' into the empty password
                      Slot(0, 26), 0.0f,    // 'A' before position 1 -> "Ac"
                      Slot(9, 10), 0.99f}); // '9' at floor(0.99*2)+1 = 2 -> "A9c"
    std::int16_t minPerSet = 0;
    QCOMPARE(ComposePassword(3, 3, e.UseSet, e.Pool, r, minPerSet), std::string("A9c"));
    QCOMPARE(minPerSet, std::int16_t(1));
    QCOMPARE(r.Count(), std::size_t(7));
}

void TestEngine::insertionNeverAppends()
{
    // ab + x: p = 1 gives xab, p = 2 gives axb; the largest possible draw still never gives abx.
    Engine e;
    e.Build(0, 1, 0, 0);
    const float a = Slot(0, 26), b = Slot(1, 26), x = Slot(23, 26);
    const float largest = UnitFromBits(0xFFFFFFFFu);
    std::int16_t m = 0;
    ScriptedRandom first({0.0f, b, 0.0f, a, 0.0f, x, 0.0f});
    QCOMPARE(ComposePassword(3, 3, e.UseSet, e.Pool, first, m), std::string("xab"));
    ScriptedRandom second({0.0f, b, 0.0f, a, 0.0f, x, 0.5f});
    QCOMPARE(ComposePassword(3, 3, e.UseSet, e.Pool, second, m), std::string("axb"));
    ScriptedRandom last({0.0f, b, largest, a, largest, x, largest});
    QCOMPARE(ComposePassword(3, 3, e.UseSet, e.Pool, last, m), std::string("axb"));
}

void TestEngine::lengthAndMinPerSet_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("minPerSet");
    for (auto [L, m] : {std::pair{3, 1},
                        {7, 1},
                        {8, 2},
                        {14, 2},
                        {15, 3},
                        {24, 3},
                        {25, 4},
                        {31, 4},
                        {32, 5},
                        {40, 5}})
        QTest::addRow("L=%d", L) << L << m;
}

void TestEngine::lengthAndMinPerSet()
{
    QFETCH(int, length);
    QFETCH(int, minPerSet);
    Engine e;
    e.Build(1, 1, 1, 1);
    ScriptedRandom r({0.37f, 0.81f, 0.05f, 0.66f, 0.23f});
    std::int16_t m = 0;
    const std::string p = ComposePassword(length, length, e.UseSet, e.Pool, r, m);
    QCOMPARE(int(p.size()), length);
    QCOMPARE(int(m), minPerSet);
    QCOMPARE(r.Count(), std::size_t(1 + 2 * length));
    for (int k = 1; k <= 3; ++k) {
        const auto n = std::count_if(
            p.begin(), p.end(), [&](char c) { return e.UseSet[k].find(c) != std::string::npos; });
        QVERIFY2(n >= minPerSet, p.c_str());
    }
}

void TestEngine::lengthClampingAndCrossedRange()
{
    Engine e;
    e.Build(1, 1, 1, 1);
    std::int16_t m = 0;
    const float top = UnitFromBits(0xFFFFFFFFu);
    ScriptedRandom r({top, 0.5f});
    QCOMPARE(ComposePassword(50, 40, e.UseSet, e.Pool, r, m).size(), std::size_t(40));
    QCOMPARE(ComposePassword(1, 3, e.UseSet, e.Pool, r, m).size(), std::size_t(3));
    // A maximum below the minimum: every password has the minimum's length.
    ScriptedRandom crossed({top});
    QCOMPARE(ComposePassword(20, 8, e.UseSet, e.Pool, crossed, m).size(), std::size_t(20));
    // The length draw reaches both ends of the range.
    ScriptedRandom low({0.0f}), high({top});
    QCOMPARE(ComposePassword(6, 8, e.UseSet, e.Pool, low, m).size(), std::size_t(6));
    QCOMPARE(ComposePassword(6, 8, e.UseSet, e.Pool, high, m).size(), std::size_t(8));
}

void TestEngine::emptyPoolLeavesMinPerSet()
{
    Engine e;
    e.Build(1, 0, 0, 0);
    ScriptedRandom r({0.5f});
    std::int16_t m = 4;
    QCOMPARE(ComposePassword(6, 8, e.UseSet, e.Pool, r, m), std::string());
    QCOMPARE(m, std::int16_t(4));
    QCOMPARE(r.Count(), std::size_t(0));
}

void TestEngine::largestDrawPicksLastCharacter()
{
    // The largest value the source can produce must still index inside the set.
    const float top = UnitFromBits(0xFFFFFFFFu);
    QVERIFY(top < 1.0f);
    Engine e;
    e.Build(0, 0, 0, 1);
    ScriptedRandom r({0.0f, top, 0.0f, top, top, top, top});
    std::int16_t m = 0;
    QCOMPARE(ComposePassword(3, 3, e.UseSet, e.Pool, r, m), std::string("999"));
}

void TestEngine::systemSourceStaysBelowOne()
{
    QCOMPARE(UnitFromBits(0), 0.0f);
    QCOMPARE(UnitFromBits(0xFFFFFFFFu), 1.0f - 1.0f / 16777216.0f);
    SystemRandom r;
    std::set<float> seen;
    for (int i = 0; i < 10000; ++i) { // spans several refills of the block
        const float v = r.Next();
        QVERIFY(v >= 0.0f && v < 1.0f);
        seen.insert(v);
    }
    QVERIFY(seen.size() > 9900); // a stuck or repeating source would collapse this
}

void TestEngine::numberReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("digits") << "025" << 25;
    QTest::newRow("blanks first") << "  7x" << 7;
    QTest::newRow("sign only") << "-" << 0;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("plus") << "+12" << 12;
    QTest::newRow("letter first") << "a12" << 0;
    QTest::newRow("comma stops") << "12,5" << 12;
    QTest::newRow("no exponent") << "1e3" << 1;
    QTest::newRow("saturates high") << "99999999999999999999" << 32767;
    QTest::newRow("saturates low") << "-99999" << -32768;
}

void TestEngine::numberReading()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(ReadInt16(text.toStdString())), value);
}

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"
